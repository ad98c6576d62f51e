// package_seeds OUTDIR: writes the seed packages of capsule_zip_fuzz into OUTDIR with libzip.
//
// The committed corpus (fuzz/corpus/package) was made with it; run it again only to remake that
// corpus. The packages are small on purpose: well-formed ones in each shape the library reads
// (plain and localized thumbnails, a project folder or single project member, the compositing
// application's project), and hostile or damaged ones (names that climb out, absolute and
// backslashed names, a stored link, an encrypted member, zero-byte members, a truncated archive).
// Members are stored uncompressed so that mutated bytes stay readable as members' contents.

#include <sys/stat.h>
#include <zip.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr char kDescription[] =
    "{\"apiVersion\":\"1.4\",\"capsuleID\":\"seed\",\"capsuleName\":{\"strDB\":[{\"localeString\":"
    "\"en_US\",\"str\":\"Seed\"}]}}";
constexpr char kPng[] = "\x89PNG\r\n\x1a\nseed";
constexpr char kMp4[] = "\0\0\0\x18" "ftypmp42seed";

struct Member {
  enum Kind { kFile, kFolder, kLink, kEncrypted } kind = kFile;
  std::string name;
  std::string bytes;
};

Member File(std::string name, std::string bytes) {
  return {Member::kFile, std::move(name), std::move(bytes)};
}
Member Folder(std::string name) { return {Member::kFolder, std::move(name), {}}; }
Member Link(std::string name, std::string target) {
  return {Member::kLink, std::move(name), std::move(target)};
}
Member Encrypted(std::string name, std::string bytes) {
  return {Member::kEncrypted, std::move(name), std::move(bytes)};
}

bool Write(const std::filesystem::path& path, const std::vector<Member>& members) {
  std::filesystem::remove(path);
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  if (archive == nullptr) return false;
  for (const Member& member : members) {
    zip_int64_t index = -1;
    if (member.kind == Member::kFolder) {
      index = zip_dir_add(archive, member.name.c_str(), ZIP_FL_ENC_UTF_8);
    } else {
      zip_source_t* source = zip_source_buffer(archive, member.bytes.data(), member.bytes.size(), 0);
      index = zip_file_add(archive, member.name.c_str(), source, ZIP_FL_ENC_UTF_8);
      if (index < 0) zip_source_free(source);
    }
    if (index < 0) {
      zip_discard(archive);
      return false;
    }
    zip_set_file_compression(archive, index, ZIP_CM_STORE, 0);
    zip_file_set_mtime(archive, index, 946684800, 0);  // fixed, so the bytes are reproducible
    if (member.kind == Member::kLink) {
      const zip_uint32_t mode = S_IFLNK | 0777;
      zip_file_set_external_attributes(archive, index, 0, ZIP_OPSYS_UNIX, mode << 16);
    } else if (member.kind == Member::kEncrypted) {
      zip_file_set_encryption(archive, index, ZIP_EM_TRAD_PKWARE, "secret");
    }
  }
  return zip_close(archive) == 0;
}

std::string Literal(const char* bytes, size_t size) { return std::string(bytes, size - 1); }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: package_seeds OUTDIR\n");
    return 2;
  }
  const std::filesystem::path out = argv[1];
  std::filesystem::create_directories(out);
  const std::string png = Literal(kPng, sizeof kPng);
  const std::string mp4 = Literal(kMp4, sizeof kMp4);

  const std::vector<std::pair<std::string, std::vector<Member>>> packages = {
      {"description_only.tplx", {File("definition.json", kDescription)}},
      {"full.tplx",
       {File("definition.json", kDescription), File("thumb.png", png), File("thumb.mp4", mp4),
        Folder("project.tsgraphic/"), File("project.tsgraphic/project.xml", "<project/>"),
        Folder("project.tsgraphic/media/"), File("project.tsgraphic/media/a.png", png)}},
      {"localized.tplx",
       {File("definition.json", kDescription), File("thumb_en_US.png", png), File("thumb.png", "x"),
        File("thumb_en_US.mp4", mp4), File("project_en_US.tsgraphic", "<project/>"),
        File("project.tsgraphic", "<plain/>")}},
      {"compositing_project.tplx",
       {File("definition.json", kDescription), File("project.qzgraphic/main.qz", "qz"),
        File("project_en_US.qzgraphic/sub/deep/x.bin", "deep")}},
      {"project_without_folder_entries.tplx",
       {File("project.tsgraphic/a/b/c.txt", "c"), File("project.tsgraphic/a/d.txt", "d")}},
      {"zero_byte_members.tplx",
       {File("definition.json", ""), File("thumb.png", ""), File("thumb.mp4", ""),
        File("project.tsgraphic", "")}},
      {"climbing_names.tplx",
       {File("definition.json", kDescription), File("project.tsgraphic/../../escape.txt", "up"),
        File("project.tsgraphic/ok.txt", "ok")}},
      {"absolute_and_backslash.tplx",
       {File("project.tsgraphic//abs.txt", "abs"), File("project.qzgraphic/a\\..\\b.txt", "bs"),
        File("/project.tsgraphic/root.txt", "root")}},
      {"dot_components.tplx",
       {File("project.tsgraphic/./a.txt", "dot"), File("project.qzgraphic/x/../y.txt", "dotdot")}},
      {"stored_link.tplx",
       {File("definition.json", kDescription), Link("thumb.png", "/etc/passwd"),
        Link("project.tsgraphic/link", "../../.."), File("project.tsgraphic/after.txt", "after")}},
      {"link_as_project.tplx", {Link("project.qzgraphic", "/tmp")}},
      {"encrypted_members.tplx",
       {Encrypted("definition.json", kDescription), Encrypted("thumb.png", png),
        File("thumb.mp4", mp4), Encrypted("project.tsgraphic/secret.txt", "s")}},
      {"file_then_folder.tplx",
       {File("project.tsgraphic/a", "file"), File("project.tsgraphic/a/b.txt", "under a file")}},
  };
  for (const auto& [name, members] : packages) {
    if (!Write(out / name, members)) {
      std::fprintf(stderr, "cannot write %s\n", name.c_str());
      return 1;
    }
  }

  // Damaged archives, cut from the full one.
  std::ifstream in(out / "full.tplx", std::ios::binary);
  const std::string full((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::ofstream(out / "truncated.tplx", std::ios::binary) << full.substr(0, full.size() * 2 / 3);
  std::ofstream(out / "tail_only.tplx", std::ios::binary) << full.substr(full.size() - 22);
  std::ofstream(out / "not_a_zip.tplx", std::ios::binary) << kDescription;
  return 0;
}

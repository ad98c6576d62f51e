// `capsule stock download` run as a program against the licence and download endpoints on
// loopback: both roads, and the failures that must leave the target as it was.

#include "host/core/file_helper_utils.h"
#include "tools/stock_tool_test_fixture.h"

namespace capsuletool {
namespace {

class StockDownloadCommandTest : public StockToolTest {
 protected:
  void SetUp() override {
    StockToolTest::SetUp();
    const zorvsamples::SampleSet set = WriteSamples("samples", 1);
    ASSERT_FALSE(set.templates.empty());
    package_ = ReadWholeFile(zorvcore::FileHelperUtils::UTF16ToStdPath(set.templates.front().path));
    service.Get("/prod/Rest/Libraries/Download/([^/]+)/1", [this](const httplib::Request& req, httplib::Response& res) {
      const std::string id = req.matches[1];
      if (id == "plain200") {
        res.set_content("not a redirect", "text/plain");
      } else {
        res.set_redirect(service.Url("/files/" + id + ".tplx"));
      }
    });
    service.Get("/prod/Rest/Libraries/1/Content/License", [this](const httplib::Request& req, httplib::Response& res) {
      const std::string id = req.get_param_value("content_id");
      if (id == "refused") {
        res.status = 403;
        return;
      }
      const std::string purchased =
          id == "cleartext" ? cleartext_.Url("/purchased/" + id) : service.Url("/purchased/" + id);
      res.set_content(R"({"contents": {"a": {"purchase_details": {"url": ")" + purchased + R"("}}}})",
                      "application/json");
    });
    service.Get("/purchased/(.+)", [](const httplib::Request& req, httplib::Response& res) {
      res.set_redirect("/files/" + req.matches[1].str() + ".tplx");
    });
    service.Get("/files/half.tplx", [](const httplib::Request&, httplib::Response& res) {
      res.set_content_provider(100000, "application/zip", [](size_t offset, size_t, httplib::DataSink& sink) {
        if (offset > 0) return false;  // the connection drops half-way
        sink.write(std::string(50000, 'x').data(), 50000);
        return true;
      });
    });
    service.Get("/files/(.+)\\.tplx", [this](const httplib::Request&, httplib::Response& res) {
      res.set_content(package_, "application/zip");
    });
    service.Start();
    cleartext_.Get("/.*", [](const httplib::Request&, httplib::Response& res) { res.status = 404; });
    cleartext_.Start();
    fs::create_directories(Path("out"));
  }

  ProgramRun Download(const std::string& id, const std::string& target, bool licensed) const {
    std::vector<std::string> arguments{"download", id, target};
    if (licensed) arguments.push_back("--licensed");
    return Stock(arguments);
  }

  std::string package_;
  zorvnet::testing::TestHttpServer cleartext_;  // plain "http:": no credential may reach it
};

// The package arrives whole, with nothing beside it; every failure leaves the target as it was. (Which
// endpoints each road asks is pinned by the library's own download tests; the licence road is run
// end to end by the served stock tests.)
TEST_F(StockDownloadCommandTest, ThePackageArrivesWholeAndEveryFailureOnEitherRoadLeavesTheTarget) {
  const ProgramRun folder = Download("12", Path("out").string(), true);
  EXPECT_EQ(folder.status, 1) << Describe(folder);
  EXPECT_NE(folder.err.find("is a folder"), std::string::npos) << folder.err;
  EXPECT_TRUE(service.Requests().empty()) << "a folder is no target: nothing is asked";

  const std::string target = Path("out/template.tplx").string();
  ASSERT_EQ(Download("12", target, true).status, 0);
  using Files = std::map<std::string, std::string>;  // every file of the folder `out`, hidden ones included
  EXPECT_EQ(FolderContents(Path("out")), (Files{{"template.tplx", package_}}));

  std::ofstream(target, std::ios::binary) << "older package";
  for (const auto& [id, licensed] : {std::pair<std::string, bool>{"half", true}, {"plain200", true},
                                     {"refused", false}, {"cleartext", false}}) {
    const ProgramRun run = Download(id, target, licensed);
    EXPECT_EQ(run.status, 1) << id << "\n" << Describe(run);
    EXPECT_NE(run.err.find("is unchanged"), std::string::npos) << run.err;
    EXPECT_EQ(FolderContents(Path("out")), (Files{{"template.tplx", "older package"}})) << id;
  }
  EXPECT_TRUE(cleartext_.Requests().empty());
}

}  // namespace
}  // namespace capsuletool

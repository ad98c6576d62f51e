#include "tools/stock_download_command.h"

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>

#include "host/core/file_helper_utils.h"
#include "host/core/unicode.h"
#include "stock/stock_download.h"
#include "stock/stock_preview_download_manager.h"
#include "tools/diagnostics_collector.h"
#include "tools/display_text.h"
#include "tools/exit_status.h"
#include "tools/terminal_progress.h"

namespace capsuletool {
namespace {

namespace fs = std::filesystem;

constexpr std::chrono::milliseconds kProgressInterval(100);

// The library calls `done` exactly once, on its download thread or at once on ours.
class DoneWaiter {
 public:
  zorvcapsule::StockDownloadDoneFxnPtr Function() {
    return std::make_shared<zorvcapsule::StockDownloadDoneFxn>([state = state_](bool succeeded) {
      std::lock_guard<std::mutex> lock(state->mutex);
      state->outcome = succeeded;
      state->changed.notify_all();
    });
  }
  // The outcome once it has come, waiting at most `interval` for it.
  std::optional<bool> WaitFor(std::chrono::milliseconds interval) const {
    std::unique_lock<std::mutex> lock(state_->mutex);
    state_->changed.wait_for(lock, interval, [this] { return state_->outcome.has_value(); });
    return state_->outcome;
  }

 private:
  struct State {
    std::mutex mutex;
    std::condition_variable changed;
    std::optional<bool> outcome;
  };
  std::shared_ptr<State> state_ = std::make_shared<State>();
};

// Bytes written so far: the download lands in hidden ".<name>.<random>.tmp" files beside the
// target until it is complete, in steps of the writer's buffer.
uintmax_t PartialDownloadBytes(const fs::path& target) {
  const std::string prefix = "." + target.filename().string() + ".";
  uintmax_t bytes = 0;
  std::error_code error;
  for (fs::directory_iterator it(target.parent_path(), error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.rfind(prefix, 0) != 0 || it->path().extension() != ".tmp") continue;
    const uintmax_t size = it->file_size(error);
    if (!error) bytes += size;
    error.clear();
  }
  return bytes;
}

bool WaitForDownload(const DoneWaiter& waiter, const StockDownloadOptions& options, const fs::path& target) {
  TerminalProgress progress;
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    if (const std::optional<bool> outcome = waiter.WaitFor(kProgressInterval)) return *outcome;
    if (!progress.Enabled()) continue;
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start).count();
    progress.Show("downloading " + options.id + "... " + ByteSizeText(PartialDownloadBytes(target)) + ", " +
                  std::to_string(seconds) + " s");
  }
}

std::optional<int> CheckTarget(const fs::path& target, const std::string& given, std::ostream& err) {
  std::error_code error;
  if (target.filename().empty() || fs::is_directory(target, error)) {
    PrintError(err, given, "is a folder; the package needs a file name");
    return kExitFailed;
  }
  return std::nullopt;
}

}  // namespace

int RunStockDownloadCommand(const StockDownloadOptions& options, std::ostream& out, std::ostream& err) {
  StockIdentity identity;
  if (const auto status = LoadStockIdentity(options.identity, identity, err)) return *status;
  std::error_code error;
  const fs::path target = fs::absolute(fs::path(options.target), error).lexically_normal();
  if (error) {
    PrintError(err, options.target, "not a usable path");
    return kExitFailed;
  }
  if (const auto status = CheckTarget(target, options.target, err)) return *status;

  bool succeeded = false;
  {
    DiagnosticsCollector diagnostics;
    DoneWaiter waiter;
    zorvcapsule::DownloadStockTplx(zorvcore::UTF8ToUTF16(options.id),
                                   zorvcore::FileHelperUtils::StdPathToUTF16(target), identity.clientId,
                                   identity.credential, identity.connection, options.licensed, waiter.Function(),
                                   identity.token);
    succeeded = WaitForDownload(waiter, options, target);
    // The download has completed; this releases the shared transfers before the program ends.
    zorvcapsule::StockPreviewDownloadManager::Terminate();
    PrintDiagnostics(diagnostics, options.id, err);
  }
  if (!succeeded || !fs::is_regular_file(target, error)) {
    PrintError(err, options.id, "the package could not be downloaded; " + options.target + " is unchanged");
    return kExitFailed;
  }
  out << "Downloaded " << options.id << " to " << options.target << " (" << ByteSizeText(fs::file_size(target, error))
      << ")\n";
  out.flush();
  return out ? kExitSuccess : kExitFailed;
}

}  // namespace capsuletool

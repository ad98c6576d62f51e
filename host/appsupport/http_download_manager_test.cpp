#include "host/appsupport/http_download_manager.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "host/core/test_report_capture.h"
#include "host/core/test_temp_folder.h"
#include "host/core/unicode.h"
#include "host/net/curl_request_processor.h"
#include "host/net/proxy_request_processor.h"
#include "host/net/test_call_recorder.h"
#include "host/net/test_http_server.h"

namespace zorvappsupport::http {
namespace {

using zorvcore::ImmutableString;
using zorvnet::testing::TestHttpServer;

std::string Pattern(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return bytes;
}

// What a download's completion slot saw: the manager it named and whether the download succeeded.
struct Completion : zorvnet::testing::CallRecorder<HTTPDownloadManager*, bool> {
  void Watch(const std::shared_ptr<HTTPDownloadStream>& stream) const {
    stream->ConnectCompleted([slot = Function()](HTTPDownloadManager* manager,
                                                 std::shared_ptr<HTTPDownloadStream> done) {
      slot(manager, done && done->Succeeded());
    });
  }
  HTTPDownloadManager* Manager() const { return Arg<0>(); }
  bool Succeeded() const { return Arg<1>(); }
};

class HTTPDownloadManagerTest : public ::testing::Test {
 protected:
  static constexpr unsigned kLimit = 2;

  void SetUp() override {
    server_.Get("/file", [this](const httplib::Request&, httplib::Response& res) {
      res.set_content(body_, "application/octet-stream");
    });
    server_.Get("/moved", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/file", 302); });
    server_.Get("/missing", [](const httplib::Request&, httplib::Response& res) {
      res.status = 404;
      res.set_content("no such file", "text/plain");
    });
    // Announces the whole body, sends half of it and drops the connection.
    server_.Get("/cut", [this](const httplib::Request&, httplib::Response& res) {
      res.set_content_provider(body_.size(), "application/octet-stream",
                               [this](size_t offset, size_t, httplib::DataSink& sink) {
                                 if (offset >= body_.size() / 2) return false;
                                 return sink.write(body_.data(), body_.size() / 2);
                               });
    });
    server_.HoldGet("/held");
    server_.Start();
    processor_ = zorvnet::CurlRequestProcessor::Create();
    ASSERT_NE(processor_, nullptr);
    manager_ = std::make_unique<HTTPDownloadManager>(kLimit, 4096);
    manager_->OverrideRequestProcessor(zorvnet::http::CreateProxyProcessor(processor_));
  }

  std::shared_ptr<HTTPDownloadStream> Download(const std::string& path, const std::string& target,
                                               const Completion& completion, bool replaceExisting = true,
                                               HTTPDownloadManager* manager = nullptr) {
    auto stream = (manager ? manager : manager_.get())
                      ->NewDownload(ImmutableString::CreateDynamic(Url(path)),
                                    zorvcore::File(folder_.U16(zorvcore::UTF8ToUTF16(target))),
                                    zorvnet::HeaderMap(), replaceExisting);
    EXPECT_NE(stream, nullptr);
    if (stream) completion.Watch(stream);
    return stream;
  }
  // A path of the fixture's server; a full address is kept as it is.
  std::string Url(const std::string& path) const { return path[0] == '/' ? server_.Url(path) : path; }

  // Starts kLimit + 2 downloads that the server holds, and waits until kLimit of them are held.
  std::vector<Completion> StartHeldDownloads() {
    std::vector<Completion> completions(kLimit + 2);
    for (size_t i = 0; i < completions.size(); ++i) Download("/held", "held" + std::to_string(i), completions[i]);
    EXPECT_TRUE(server_.WaitUntilHeld(kLimit));
    return completions;
  }

  const std::string body_ = Pattern(100000);
  zorvcore::TestTempFolder folder_;
  TestHttpServer server_;
  std::shared_ptr<zorvnet::CurlRequestProcessor> processor_;
  std::unique_ptr<HTTPDownloadManager> manager_;  // goes first: its end waits for the processor's callbacks
};

// A download lands whole at its target or not at all: a failure keeps the old target and leaves
// no partial file.
TEST_F(HTTPDownloadManagerTest, DownloadsLandWholeAtTheTargetOrLeaveItAsItWas) {
  folder_.WriteFile("kept.tplx", "already here");
  folder_.WriteFile("package.tplx", "old package");
  const Completion kept, moved, missing, cut;
  Download("/file", "kept.tplx", kept, /*replaceExisting=*/false);
  const auto stream = Download("/moved", "new/folder/package.tplx", moved, false);
  const auto missingStream = Download("/missing", "package.tplx", missing);
  const auto cutStream = Download("/cut", "fresh.tplx", cut);

  for (const Completion* completion : {&kept, &moved, &missing, &cut}) ASSERT_TRUE(completion->WaitForCall());
  EXPECT_TRUE(kept.Succeeded());
  EXPECT_EQ(folder_.ReadFile("kept.tplx"), "already here");  // kept without a transfer
  EXPECT_TRUE(moved.Succeeded()) << stream->FailureReason();
  EXPECT_EQ(moved.Manager(), manager_.get());
  EXPECT_EQ(folder_.ReadFile("new/folder/package.tplx"), body_);
  EXPECT_EQ(stream->BytesReceived(), static_cast<int64_t>(body_.size()));
  EXPECT_EQ(stream->ExpectedBytes(), static_cast<int64_t>(body_.size()));
  EXPECT_EQ(server_.CountOf("/file"), 1u);
  EXPECT_FALSE(missing.Succeeded());
  EXPECT_FALSE(cut.Succeeded());
  EXPECT_NE(missingStream->FailureReason().find("404"), std::string::npos);
  EXPECT_FALSE(cutStream->FailureReason().empty());
  EXPECT_EQ(folder_.ReadFile("package.tplx"), "old package");
  EXPECT_EQ(folder_.Files(), (std::set<std::string>{"kept.tplx", "new/folder/package.tplx", "package.tplx"}));
}

TEST_F(HTTPDownloadManagerTest, AtMostTheLimitRunsAtOnceAndTheRestFollowInTurn) {
  const std::vector<Completion> completions = StartHeldDownloads();
  EXPECT_EQ(manager_->ActiveDownloadCount(), kLimit);
  EXPECT_EQ(manager_->QueuedDownloadCount(), 2u);
  EXPECT_EQ(server_.CountOf("/held"), kLimit);

  server_.Release();
  for (const auto& completion : completions) {
    ASSERT_TRUE(completion.WaitForCall());
    EXPECT_TRUE(completion.Succeeded());
  }
  EXPECT_EQ(server_.CountOf("/held"), completions.size());
  EXPECT_EQ(folder_.ReadFile("held3"), "late");
}

TEST_F(HTTPDownloadManagerTest, FlushEndsRunningAndWaitingDownloadsBeforeItReturns) {
  folder_.WriteFile("held0", "kept");
  const std::vector<Completion> completions = StartHeldDownloads();

  manager_->FlushAllDownloads();

  for (const auto& completion : completions) {
    EXPECT_EQ(completion.Calls(), 1);
    EXPECT_FALSE(completion.Succeeded());
  }
  EXPECT_EQ(manager_->ActiveDownloadCount(), 0u);
  EXPECT_EQ(manager_->QueuedDownloadCount(), 0u);
  EXPECT_EQ(folder_.Files(), std::set<std::string>{"held0"});
  EXPECT_EQ(folder_.ReadFile("held0"), "kept");
  EXPECT_EQ(server_.CountOf("/held"), kLimit);  // the waiting ones never started
}

// A slot connected after completion runs at once on its thread; destroying the manager completes
// its downloads, and a slot connected after the manager is gone is still called, and told so.
TEST_F(HTTPDownloadManagerTest, SlotsRunOnceWhenEverTheyAreConnectedAndNameTheManagerWhileItLives) {
  const Completion refused;
  const auto done = Download("ftp://127.0.0.1/x", "x", refused);  // refused at once: complete on return
  ASSERT_NE(done, nullptr);
  EXPECT_TRUE(done->IsComplete());
  EXPECT_FALSE(done->Succeeded());
  EXPECT_EQ(refused.Calls(), 1);
  EXPECT_EQ(refused.Manager(), manager_.get());

  const auto stream = Download("/held", "held", Completion());
  ASSERT_TRUE(server_.WaitUntilHeld(1));
  manager_.reset();  // ends the held download as a flush does
  const Completion late;
  late.Watch(stream);
  EXPECT_EQ(late.Calls(), 1);
  EXPECT_EQ(late.Manager(), nullptr);
}

TEST_F(HTTPDownloadManagerTest, SlotMayStartTheNextDownloadAndAThrowingSlotIsReported) {
  const zorvcore::ReportCapture capture;
  const Completion second;
  auto first = Download("/file", "first", Completion());
  first->ConnectCompleted([&](HTTPDownloadManager* manager, std::shared_ptr<HTTPDownloadStream>) {
    Download("/file", "second", second, true, manager);
    throw std::runtime_error("slot broke");
  });

  ASSERT_TRUE(second.WaitForCall());
  manager_.reset();

  EXPECT_TRUE(second.Succeeded());
  EXPECT_EQ(folder_.ReadFile("second"), body_);
  const std::vector<std::string> reports = capture.Messages();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_THAT(reports[0], ::testing::HasSubstr("slot broke"));
}

}  // namespace
}  // namespace zorvappsupport::http

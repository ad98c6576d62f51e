#include "host/net/proxy_request_processor.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zorvnet {
namespace {

using zorvcore::Guid;
using zorvcore::ImmutableString;

// A target that keeps its requests until the test completes them, all on the test's thread.
class FakeProcessor : public RequestProcessor {
 public:
  bool StartRequest(const Guid& id, Request, RequestCallback callback) override {
    if (!refuse) callbacks_[id] = std::move(callback);
    return !refuse;
  }
  void TryToCancelRequest(const Guid& id) override { cancelled.push_back(id); }
  // Calls the request's callback with a response of `status`.
  void Complete(const Guid& id, int status) {
    const RequestCallback callback = std::move(callbacks_.at(id));
    callbacks_.erase(id);
    callback(id, Response::Completed(status, HeaderMap(), nullptr, ImmutableString()));
  }

  bool refuse = false;
  std::vector<Guid> cancelled;

 private:
  std::map<Guid, RequestCallback> callbacks_;
};

Request Anywhere() {
  Request request;
  request.url = ImmutableString::CreateStatic("https://example.test/");
  return request;
}

TEST(ProxyRequestProcessorTest, KeepsAccountOfUnfinishedRequestsUntilTheirCallbacksReturn) {
  auto target = std::make_shared<FakeProcessor>();
  auto proxy = http::CreateProxyProcessor(target);
  const Guid first = Guid::CreateUnique(), second = Guid::CreateUnique();
  size_t countInsideCallback = 99;
  ASSERT_TRUE(proxy->StartRequest(first, Anywhere(), [&](const Guid&, std::shared_ptr<Response>) {
    countInsideCallback = proxy->UnfinishedCount();
  }));
  ASSERT_TRUE(proxy->StartRequest(second, Anywhere(), nullptr));
  EXPECT_FALSE(proxy->StartRequest(first, Anywhere(), nullptr));  // id still unfinished
  EXPECT_EQ(proxy->UnfinishedCount(), 2u);

  target->Complete(first, 200);
  EXPECT_EQ(countInsideCallback, 2u);
  EXPECT_EQ(proxy->UnfinishedCount(), 1u);
  target->Complete(second, 200);  // an empty callback is fine
  EXPECT_EQ(proxy->UnfinishedCount(), 0u);

  target->refuse = true;  // a refused request leaves no trace
  EXPECT_FALSE(proxy->StartRequest(Guid::CreateUnique(), Anywhere(), nullptr));
  EXPECT_EQ(proxy->UnfinishedCount(), 0u);
  EXPECT_EQ(http::CreateProxyProcessor(nullptr), nullptr);
}

TEST(ProxyRequestProcessorTest, CancelAllAsksOnlyForItsOwnUnfinishedRequests) {
  auto target = std::make_shared<FakeProcessor>();
  auto proxy = http::CreateProxyProcessor(target);
  const Guid finished = Guid::CreateUnique(), open = Guid::CreateUnique(), neighbours = Guid::CreateUnique();
  ASSERT_TRUE(proxy->StartRequest(finished, Anywhere(), nullptr));
  ASSERT_TRUE(proxy->StartRequest(open, Anywhere(), nullptr));
  ASSERT_TRUE(target->StartRequest(neighbours, Anywhere(), nullptr));
  target->Complete(finished, 200);

  proxy->CancelAll();
  proxy->TryToCancelRequest(neighbours);  // not the proxy's: not passed on

  EXPECT_EQ(target->cancelled, std::vector<Guid>{open});
}

}  // namespace
}  // namespace zorvnet

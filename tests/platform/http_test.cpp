// Asynchronous HTTP: what goes over the wire, and that completions reach the listener only
// through the main thread's poll.
#include "platform/http.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/app.hpp"
#include "tests/support/loopback_server.hpp"

namespace {

struct Listener : platform::IOnHttpRequestComplete {
    std::vector<platform::HttpRequest*> completed;
    std::vector<std::string> texts;
    void OnHttpRequestComplete(platform::HttpRequest* request) override {
        completed.push_back(request);
        texts.push_back(request->ResponseText());
    }
};

// Polls the way the frame loop does until `done` holds; gives up after a generous while so a
// broken transfer fails the test instead of hanging it.
template <typename Done>
bool PollUntil(Done done) {
    for (int i = 0; i < 1000 && !done(); ++i) {
        platform::UpdateAsyncEvents();
        if (!done()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

struct FakeTransport : platform::HttpTransport {
    std::mutex lock;
    std::vector<std::string> seen;
    platform::HttpReply reply{200, "OK 42"};
    platform::HttpReply Send(const std::string& method, const std::string& url, const std::string& body,
                             const std::string& contentType, const std::atomic<bool>&) override {
        std::lock_guard<std::mutex> guard(lock);
        seen.push_back(method + " " + url + " " + contentType + " " + body);
        return reply;
    }
};

}  // namespace

TEST(Http, CompletionsArriveOnlyThroughThePollAndDroppedRequestsStaySilent) {
    auto fake = std::make_shared<FakeTransport>();
    platform::SetHttpTransport(fake);
    Listener listener;
    platform::HttpRequest request("POST", "http://score.example/api/scr.php", &listener);
    auto dropped = std::make_unique<platform::HttpRequest>("POST", "http://score.example/x", &listener);
    request.Send("action=id", "application/x-www-form-urlencoded", "utf8");
    dropped->Send("action=update&id=", "application/x-www-form-urlencoded", "utf8");
    // However long the worker has had, nothing is delivered until the main thread polls.
    for (int i = 0; i < 200; ++i) {
        {
            std::lock_guard<std::mutex> guard(fake->lock);
            if (fake->seen.size() == 2) break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(listener.completed.empty());
    EXPECT_FALSE(request.Done());
    dropped.reset();
    ASSERT_TRUE(PollUntil([&] { return request.Done(); }));
    platform::UpdateAsyncEvents();
    ASSERT_EQ(listener.completed.size(), 1u);
    EXPECT_EQ(listener.completed[0], &request);
    EXPECT_EQ(listener.texts[0], "OK 42");
    EXPECT_EQ(request.Status(), 200);
    {
        std::lock_guard<std::mutex> guard(fake->lock);
        // The two workers run side by side, in either order.
        ASSERT_EQ(fake->seen.size(), 2u);
        EXPECT_NE(std::find(fake->seen.begin(), fake->seen.end(),
                            "POST http://score.example/api/scr.php application/x-www-form-urlencoded action=id"),
                  fake->seen.end());
    }
    // A second Send of the same request goes nowhere.
    request.Send("again", "text/plain", "utf8");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    platform::UpdateAsyncEvents();
    EXPECT_EQ(listener.completed.size(), 1u);
    platform::HttpShutdown();
    platform::SetHttpTransport(nullptr);
}

TEST(Http, RealTransferIsHttp10WithTheGamesAgentAndFailuresCompleteEmpty) {
    platform::SetHttpTransport(nullptr);
    Listener listener;
    {
        harness::LoopbackServer server({harness::LoopbackServer::Reply("OK abc123")});
        platform::HttpRequest request("POST", server.Address() + "/api/scr.php", &listener);
        request.Send("action=id", "application/x-www-form-urlencoded", "utf8");
        ASSERT_TRUE(PollUntil([&] { return request.Done(); }));
        EXPECT_EQ(request.Status(), 200);
        EXPECT_EQ(request.ResponseText(), "OK abc123");
        const std::string sent = server.Requests().at(0);
        EXPECT_EQ(sent.rfind("POST /api/scr.php HTTP/1.0\r\n", 0), 0u) << sent;
        EXPECT_NE(sent.find("\r\nUser-Agent: QRVN/1.0\r\n"), std::string::npos) << sent;
        EXPECT_NE(sent.find("\r\nContent-Type: application/x-www-form-urlencoded\r\n"), std::string::npos) << sent;
        EXPECT_EQ(sent.substr(sent.size() - 9), "action=id");
    }
    // No server address, and a port nobody listens on: both complete, with no text.
    platform::HttpRequest unset("POST", "", &listener);
    unset.Send("action=id", "application/x-www-form-urlencoded", "utf8");
    ASSERT_TRUE(PollUntil([&] { return unset.Done(); }));
    EXPECT_EQ(unset.Status(), -1);
    EXPECT_EQ(unset.ResponseText(), "");
    platform::HttpRequest refused("POST", "http://127.0.0.1:1/api/scr.php", &listener);
    refused.Send("action=id", "application/x-www-form-urlencoded", "utf8");
    ASSERT_TRUE(PollUntil([&] { return refused.Done(); }));
    EXPECT_EQ(refused.Status(), -1);
    EXPECT_EQ(refused.ResponseText(), "");
    EXPECT_EQ(listener.completed.size(), 3u);
    platform::HttpShutdown();
}

#pragma once
// A small HTTP server on the loopback address for tests that talk to a real server: it answers
// its connections one after another with scripted replies and records what each one sent.
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace harness {

class LoopbackServer {
  public:
    // Connection n gets replies[n] as its whole response (status line and headers included); an
    // empty reply, or a connection beyond the list, is held open and never answered.
    explicit LoopbackServer(std::vector<std::string> replies);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    // "http://127.0.0.1:<port>"
    std::string Address() const;
    // Every request received so far, whole, in arrival order.
    std::vector<std::string> Requests();
    // The body of the n-th request ("" when there is none yet).
    std::string Body(size_t n);

    // A 200 reply carrying `text` as a plain-text body.
    static std::string Reply(const std::string& text);

  private:
    void Serve();

    std::vector<std::string> replies_;
    int fd_ = -1;
    int port_ = 0;
    std::vector<int> held_;
    std::thread thread_;
    std::mutex lock_;
    std::vector<std::string> received_;
};

}  // namespace harness

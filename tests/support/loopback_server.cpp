#include "tests/support/loopback_server.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace harness {

LoopbackServer::LoopbackServer(std::vector<std::string> replies) : replies_(std::move(replies)) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    ::listen(fd_, 8);
    thread_ = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer() {
    ::shutdown(fd_, SHUT_RDWR);
    ::close(fd_);
    thread_.join();
    for (int client : held_) ::close(client);
}

std::string LoopbackServer::Address() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

std::vector<std::string> LoopbackServer::Requests() {
    std::lock_guard<std::mutex> guard(lock_);
    return received_;
}

std::string LoopbackServer::Body(size_t n) {
    std::lock_guard<std::mutex> guard(lock_);
    if (n >= received_.size()) return "";
    const size_t head = received_[n].find("\r\n\r\n");
    return head == std::string::npos ? "" : received_[n].substr(head + 4);
}

std::string LoopbackServer::Reply(const std::string& text) {
    return "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + text;
}

void LoopbackServer::Serve() {
    for (size_t n = 0;; ++n) {
        const int client = ::accept(fd_, nullptr, nullptr);
        if (client < 0) return;
        std::string request;
        char buffer[4096];
        for (;;) {
            const size_t head = request.find("\r\n\r\n");
            if (head != std::string::npos) {
                const size_t at = request.find("Content-Length: ");
                const size_t length = at == std::string::npos ? 0 : std::stoul(request.substr(at + 16));
                if (request.size() >= head + 4 + length) break;
            }
            const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
            if (got <= 0) break;
            request.append(buffer, static_cast<size_t>(got));
        }
        {
            std::lock_guard<std::mutex> guard(lock_);
            received_.push_back(request);
        }
        if (n >= replies_.size() || replies_[n].empty()) {
            held_.push_back(client);
            continue;
        }
        // A client that stops reading (a reply it will not take whole) ends the sending.
        const std::string& reply = replies_[n];
        for (size_t sent = 0; sent < reply.size();) {
            const ssize_t put = ::send(client, reply.data() + sent, reply.size() - sent, MSG_NOSIGNAL);
            if (put <= 0) break;
            sent += static_cast<size_t>(put);
        }
        ::close(client);
    }
}

}  // namespace harness

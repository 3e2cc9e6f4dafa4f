#pragma once
// Asynchronous HTTP: a request is sent on a worker thread of its own as HTTP/1.0 with the user
// agent "QRVN/1.0", and its completion reaches the listener on the main thread inside
// UpdateAsyncEvents, never earlier. A failed transfer completes too, with status -1 and no text.
#include <atomic>
#include <memory>
#include <string>

namespace platform {

class HttpRequest;

class IOnHttpRequestComplete {
public:
    virtual ~IOnHttpRequestComplete() = default;
    virtual void OnHttpRequestComplete(HttpRequest* request) = 0;
};

struct HttpReply {
    int status = -1;  // the server's status code, -1 when no reply came
    std::string text;
};

// What carries a request to the server: libcurl unless a test puts a fake in its place. Called on
// the worker thread; `abort` turns true when the engine shuts down.
class HttpTransport {
public:
    virtual ~HttpTransport() = default;
    virtual HttpReply Send(const std::string& method, const std::string& url, const std::string& body,
                           const std::string& contentType, const std::atomic<bool>& abort) = 0;
};
// Null puts libcurl back.
void SetHttpTransport(std::shared_ptr<HttpTransport> transport);

class HttpRequest {
public:
    HttpRequest(const std::string& method, const std::string& url, IOnHttpRequestComplete* listener);
    // A request dropped before its completion is delivered is never reported.
    ~HttpRequest();
    HttpRequest(const HttpRequest&) = delete;
    HttpRequest& operator=(const HttpRequest&) = delete;

    // Starts the transfer. `encoding` names the body's character set ("utf8"); the body's bytes go
    // out as they are. A request already on its way is not sent again.
    void Send(const std::string& data, const std::string& mimeType, const std::string& encoding);
    // The reply of a completed request ("" before, and after a failure).
    const std::string& ResponseText() const { return response_.text; }
    int Status() const { return response_.status; }
    bool Done() const { return done_; }

private:
    struct Shared;
    std::string method_, url_;
    IOnHttpRequestComplete* listener_;
    std::shared_ptr<Shared> shared_;
    HttpReply response_;
    bool sent_ = false;
    bool done_ = false;
};

// Engine side: stops every transfer still running and waits for its worker.
void HttpShutdown();

}  // namespace platform

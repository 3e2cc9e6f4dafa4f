// Asynchronous HTTP requests on worker threads, completed on the main thread by the per-frame poll.
#include "platform/http.hpp"

#include <curl/curl.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/async.hpp"

namespace platform {
namespace {

// Replies beyond this are no reply of the score server; the transfer is abandoned.
constexpr size_t kMaxReplyBytes = 1 << 20;

struct Workers {
    std::mutex lock;
    std::condition_variable idle;
    int running = 0;
    std::atomic<bool> abort{false};
    std::shared_ptr<HttpTransport> transport;
};

Workers& W() {
    static Workers* workers = new Workers;  // detached workers may still finish after exit begins
    return *workers;
}

size_t Collect(char* data, size_t size, size_t count, void* user) {
    auto* text = static_cast<std::string*>(user);
    const size_t n = size * count;
    if (text->size() + n > kMaxReplyBytes) return 0;
    text->append(data, n);
    return n;
}

int Progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<const std::atomic<bool>*>(user)->load() ? 1 : 0;
}

class CurlTransport : public HttpTransport {
public:
    HttpReply Send(const std::string& method, const std::string& url, const std::string& body,
                   const std::string& contentType, const std::atomic<bool>& abort) override {
        HttpReply reply;
        if (url.empty()) return reply;
        CURL* curl = curl_easy_init();
        if (!curl) return reply;
        std::string text;
        const std::string typeHeader = "Content-Type: " + contentType;
        curl_slist* headers = curl_slist_append(nullptr, typeHeader.c_str());
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        if (method == "POST") {
            curl_easy_setopt(curl, CURLOPT_POST, 1L);
            curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
            curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
        } else if (method != "GET") {
            curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, method.c_str());
        }
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
        curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
        curl_easy_setopt(curl, CURLOPT_USERAGENT, "QRVN/1.0");
#if LIBCURL_VERSION_NUM >= 0x075500
        curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
#endif
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 10L);
        curl_easy_setopt(curl, CURLOPT_TIMEOUT, 30L);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &text);
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, Progress);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(&abort));
        if (curl_easy_perform(curl) == CURLE_OK) {
            long code = 0;
            curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &code);
            reply.status = static_cast<int>(code);
            reply.text = std::move(text);
        }
        curl_slist_free_all(headers);
        curl_easy_cleanup(curl);
        return reply;
    }
};

std::shared_ptr<HttpTransport> CurrentTransport() {
    std::lock_guard<std::mutex> guard(W().lock);
    if (W().transport) return W().transport;
    // libcurl's global set-up is not safe against other threads using it; it runs here, on the
    // main thread, before the first worker starts.
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    (void)ready;
    static const std::shared_ptr<HttpTransport> curl = std::make_shared<CurlTransport>();
    return curl;
}

}  // namespace

// What a worker may still reach once the request is gone: nothing but the fact that it is gone.
struct HttpRequest::Shared {
    HttpRequest* owner;
};

void SetHttpTransport(std::shared_ptr<HttpTransport> transport) {
    std::lock_guard<std::mutex> guard(W().lock);
    W().transport = std::move(transport);
}

HttpRequest::HttpRequest(const std::string& method, const std::string& url, IOnHttpRequestComplete* listener)
    : method_(method), url_(url), listener_(listener), shared_(std::make_shared<Shared>(Shared{this})) {}

HttpRequest::~HttpRequest() = default;

void HttpRequest::Send(const std::string& data, const std::string& mimeType, const std::string& /*encoding*/) {
    if (sent_) return;
    sent_ = true;
    std::shared_ptr<HttpTransport> transport = CurrentTransport();
    std::weak_ptr<Shared> weak = shared_;
    {
        std::lock_guard<std::mutex> guard(W().lock);
        ++W().running;
    }
    std::thread([transport, method = method_, url = url_, data, mimeType, weak] {
        Workers& w = W();
        HttpReply reply = transport->Send(method, url, data, mimeType, w.abort);
        if (!w.abort.load()) {
            PostAsyncCompletion([weak, reply = std::move(reply)] {
                // Delivered on the main thread, where requests are also destroyed: the request
                // is either still there or never will be again.
                std::shared_ptr<Shared> shared = weak.lock();
                if (!shared) return;
                HttpRequest* request = shared->owner;
                request->response_ = reply;
                request->done_ = true;
                // The listener may drop the request; nothing of it is touched afterwards.
                if (request->listener_) request->listener_->OnHttpRequestComplete(request);
            });
        }
        std::lock_guard<std::mutex> guard(w.lock);
        --w.running;
        w.idle.notify_all();
    }).detach();
}

void HttpShutdown() {
    Workers& w = W();
    std::unique_lock<std::mutex> guard(w.lock);
    w.abort = true;
    w.idle.wait(guard, [&] { return w.running == 0; });
    w.abort = false;
}

}  // namespace platform

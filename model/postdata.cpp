// The statistics upload: the id request, the statistics request and what their replies do.
#include "model/postdata.hpp"

#include <cstdlib>
#include <string>

#include "framework/main.hpp"
#include "model/profile.hpp"
#include "platform/app.hpp"

std::unique_ptr<PostData> postData;

void InitPostDataGlobals() {
    // Dropping the old uploader drops its pending requests; their replies are never delivered.
    postData = std::make_unique<PostData>();
}

namespace {

constexpr const char* kScript = "/api/scr.php";
// A printed reply is one line of at most this many characters: the server's error pages are for
// the log, not for filling it.
constexpr size_t kMaxPrintedReply = 200;

bool IsControl(unsigned char c) {
    return c < 32 || c == 127;
}

bool StartsWithOK(const std::string& text) {
    return text.size() >= 2 && text[0] == 'O' && text[1] == 'K';
}

// Only a successful reply carries an answer: a redirect or an error page may start with "OK"
// all the same.
bool Succeeded(const platform::HttpRequest& request) {
    return request.Status() >= 200 && request.Status() < 300;
}

// A terminal also takes the bytes 0x80 to 0x9F as control codes (0x9B opens an escape sequence).
bool IsPrintControl(unsigned char c) {
    return IsControl(c) || (c >= 0x80 && c <= 0x9F);
}

// The first line of a reply as the log may show it: shortened, with control characters (a
// terminal's escape codes among them) shown as "?".
std::string MaskedFirstLine(const std::string& text) {
    std::string line = text.substr(0, text.find_first_of("\r\n"));
    if (line.size() > kMaxPrintedReply) line = line.substr(0, kMaxPrintedReply) + "...";
    for (char& c : line) {
        if (IsPrintControl(static_cast<unsigned char>(c))) c = '?';
    }
    return line;
}

// What the log shows of a reply the game did not accept: its status when that was no success, and
// its first line. The line says it is the score server's words: a reply is whatever the server
// sent, and must not pass for one of the game's own lines.
std::string PrintableReply(const platform::HttpRequest& request) {
    if (request.Status() < 0) return "No reply from the score server";
    const std::string line = MaskedFirstLine(request.ResponseText());
    if (!Succeeded(request)) {
        return "The score server answered with status " + std::to_string(request.Status()) +
               " (tried again later)" + (line.empty() ? "" : ": " + line);
    }
    if (line.empty()) return "Empty reply from the score server";
    return "The score server answered: " + line;
}

}  // namespace

std::string PostData::CleanID(const std::string& text) {
    std::string id = text.substr(0, text.find_first_of("\r\n"));
    size_t first = 0;
    while (first < id.size() && static_cast<unsigned char>(id[first]) <= 32) ++first;
    size_t last = id.size();
    while (last > first && static_cast<unsigned char>(id[last - 1]) <= 32) --last;
    id = id.substr(first, last - first);
    if (id.empty() || id.size() > kMaxIdLength) return "";
    for (char c : id) {
        // "|" would cut the save state's records; "&" and "=" are the request body's own marks.
        if (c == '|' || c == '&' || c == '=' || IsControl(static_cast<unsigned char>(c))) return "";
    }
    return id;
}

std::string PostData::FormEncode(const std::string& value) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string out;
    out.reserve(value.size());
    for (char ch : value) {
        const unsigned char c = static_cast<unsigned char>(ch);
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                           c == '-' || c == '.' || c == '_' || c == '~';
        if (plain) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

void PostData::ReadServerAddress() {
    const char* value = std::getenv(kServerVariable);
    std::string base = value ? value : "";
    while (!base.empty() && (static_cast<unsigned char>(base.back()) <= 32 || base.back() == '/'))
        base.pop_back();
    while (!base.empty() && static_cast<unsigned char>(base.front()) <= 32) base.erase(0, 1);
    url_ = base.empty() ? "" : base + kScript;
    if (url_.empty()) {
        platform::PrintLine(std::string(kServerVariable) + " is not set: no statistics go to a score server");
    }
}

std::unique_ptr<platform::HttpRequest> PostData::Post(const std::string& body) {
    auto request = std::make_unique<platform::HttpRequest>("POST", url_, this);
    request->Send(body, "application/x-www-form-urlencoded", "utf8");
    return request;
}

void PostData::GetID() {
    const std::string stored = LoadID();
    const std::string id = CleanID(stored);
    if (!id.empty()) {
        Profile::SetGlobalFlagString("ID", id);
        return;
    }
    if (!stored.empty()) {
        // An edited or damaged id file must not reach the requests or the save state; a new id
        // from the server replaces it.
        platform::PrintLine("The statistics id in id.txt is not usable; a new one is requested");
    }
    if (id_req || url_.empty()) return;
    id_req = Post("action=id");
    idSentAt_ = platform::Millisecs();
}

void PostData::Update4(const std::string& act, const std::string& time, const std::string& strength,
                       const std::string& essence, const std::string& intelligence, const std::string& money,
                       const std::string& reputation) {
    if (update_req || url_.empty()) return;
    // The server reads the fields in this order. Every value is form-encoded: the id comes from
    // outside the game (the server, the id file, the save) and must not add fields of its own.
    std::string body = "action=update&id=" + FormEncode(Profile::GetGlobalFlagString("ID"));
    body += "&device=" + FormEncode(GetPlatform());
    body += "&index=" + FormEncode(std::to_string(Profile::currentSlot));
    body += "&act=" + FormEncode(act);
    body += "&time=" + FormEncode(time);
    body += "&strength=" + FormEncode(strength);
    body += "&essence=" + FormEncode(essence);
    body += "&intelligence=" + FormEncode(intelligence);
    body += "&money=" + FormEncode(money);
    body += "&reputation=" + FormEncode(reputation);
    update_req = Post(body);
    updateSentAt_ = platform::Millisecs();
}

void PostData::OnHttpRequestComplete(platform::HttpRequest* request) {
    if (request == nullptr) return;
    if (request == id_req.get()) {
        const std::string text = request->ResponseText();
        const std::string printable = PrintableReply(*request);
        const bool succeeded = Succeeded(*request);
        // The request is done with; nothing of it is touched after this.
        id_req.reset();
        if (succeeded && text.size() >= 4 && StartsWithOK(text)) {
            const std::string id = CleanID(text.substr(3));
            if (!id.empty()) {
                SaveID(id);
                Profile::SetGlobalFlagString("ID", id);
                return;
            }
            platform::PrintLine("The score server sent no usable id: " + MaskedFirstLine(text));
            return;
        }
        platform::PrintLine(printable);
    } else if (request == update_req.get()) {
        const bool ok = Succeeded(*request) && StartsWithOK(request->ResponseText());
        const std::string line = ok ? "" : PrintableReply(*request);
        update_req.reset();
        if (!ok) platform::PrintLine(line);
    }
}

void PostData::CheckTimeouts() {
    if (!id_req && !update_req) return;
    const int64_t now = platform::Millisecs();
    // Dropping a request means its reply, should it still come, is never delivered.
    if (id_req && now - idSentAt_ >= kTimeoutMs) {
        id_req.reset();
        platform::PrintLine("The score server did not answer the id request in time");
    }
    if (update_req && now - updateSentAt_ >= kTimeoutMs) {
        update_req.reset();
        platform::PrintLine("The score server did not answer the statistics in time");
    }
}

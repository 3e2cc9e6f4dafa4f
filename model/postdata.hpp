#pragma once
// The statistics upload: the id this installation gets from the score server once, and the line
// of progress figures posted after a save. Both requests are asynchronous; their replies arrive
// on the main thread through the engine's per-frame poll, and nothing in the game waits for them.
//
// The server's address comes from the environment (BRALLWICK_SCORE_URL: scheme and host, the
// path "/api/scr.php" is added). Without it no request ever leaves the machine.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/http.hpp"

class PostData : public platform::IOnHttpRequestComplete {
  public:
    // The environment variable that holds the score server's address.
    static constexpr const char* kServerVariable = "BRALLWICK_SCORE_URL";
    // A request the server has not answered after this long is given up, so a silent server
    // cannot hold back the statistics of the whole session.
    static constexpr int64_t kTimeoutMs = 20000;
    // Ids the server hands out are short tokens; anything longer is no id.
    static constexpr size_t kMaxIdLength = 64;

    PostData() = default;
    ~PostData() override = default;
    PostData(const PostData&) = delete;
    PostData& operator=(const PostData&) = delete;

    // Start-up: takes the server's address from the environment; says so in one line when
    // there is none.
    void ReadServerAddress();
    // Uses the id kept in the id file, or asks the server for one (unless already asking).
    void GetID();
    // Posts the current character's figures, unless the previous post is still on its way.
    void Update4(const std::string& act, const std::string& time, const std::string& strength,
                 const std::string& essence, const std::string& intelligence, const std::string& money,
                 const std::string& reputation);
    void OnHttpRequestComplete(platform::HttpRequest* request) override;
    // Once per frame: gives up requests that have waited longer than kTimeoutMs.
    void CheckTimeouts();

    // The full address of the server's script, "" while uploads have nowhere to go.
    const std::string& ServerUrl() const { return url_; }

    // The pending requests (null when idle).
    std::unique_ptr<platform::HttpRequest> id_req;
    std::unique_ptr<platform::HttpRequest> update_req;

    // The id in `text` (an id reply's tail or the id file's line): up to the first line break,
    // trimmed. "" when it cannot be an id: empty, too long, or holding a character that would
    // break the request body or the save state.
    static std::string CleanID(const std::string& text);
    // Form encoding: letters, digits and "-._~" stay, every other byte becomes %XX.
    static std::string FormEncode(const std::string& value);

  private:
    std::unique_ptr<platform::HttpRequest> Post(const std::string& body);

    std::string url_;
    int64_t idSentAt_ = 0;
    int64_t updateSentAt_ = 0;
};

// The one statistics uploader of the program.
extern std::unique_ptr<PostData> postData;

// The program's initial statistics state: a fresh uploader with nothing pending.
void InitPostDataGlobals();

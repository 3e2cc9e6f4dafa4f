// Any reply of the score server (any status, any text) to the id request and to the statistics
// post is either taken or turned down with a line; an id the game keeps is always one it can send
// and store, and the id file then holds exactly that id.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "framework/main.hpp"
#include "model/postdata.hpp"
#include "model/profile.hpp"
#include "platform/app.hpp"
#include "platform/http.hpp"
#include "tests/fuzz/support.hpp"

namespace {

// Answers every request with the fuzzed reply: two bytes of status (0 reads as no reply at all),
// then the text.
class FuzzedServer : public platform::HttpTransport {
  public:
    platform::HttpReply reply;
    platform::HttpReply Send(const std::string&, const std::string&, const std::string&, const std::string&,
                             const std::atomic<bool>&) override {
        return reply;
    }
};
std::shared_ptr<FuzzedServer> server;

// The game hears of replies in its frame's poll; here the poll runs until the request is answered.
void AwaitReply(const std::unique_ptr<platform::HttpRequest>& pending) {
    while (pending) {
        platform::UpdateAsyncEvents();
        std::this_thread::yield();
    }
}

void CheckKeptId() {
    const std::string id = Profile::GetGlobalFlagString("ID");
    if (id.empty()) return;
    fuzz::Check(id.size() <= PostData::kMaxIdLength);
    for (char c : id) {
        const auto code = static_cast<unsigned char>(c);
        fuzz::Check(c != '|' && c != '&' && c != '=' && code >= 32 && code != 127);
    }
    fuzz::Check(LoadID() == id);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ::setenv(PostData::kServerVariable, "http://scores.invalid", 1);
    server = std::make_shared<FuzzedServer>();
    platform::SetHttpTransport(server);
    fuzz::StartGameWithUserFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const fuzz::FreshAfterRun fresh;
    std::remove((platform::UserFolder() + "/id.txt").c_str());
    const int status = data[0] | data[1] << 8;
    server->reply.status = status == 0 ? -1 : status;
    server->reply.text.assign(reinterpret_cast<const char*>(data) + 2, size - 2);

    postData->ReadServerAddress();
    postData->GetID();
    fuzz::Check(postData->id_req != nullptr);
    AwaitReply(postData->id_req);
    CheckKeptId();
    // Only a successful reply may give the game its id.
    if (status < 200 || status > 299) fuzz::Check(Profile::GetGlobalFlagString("ID").empty());

    postData->Update4("1", "10", "1", "1", "1", "0", "0");
    fuzz::Check(postData->update_req != nullptr);
    AwaitReply(postData->update_req);
    CheckKeptId();
    return 0;
}

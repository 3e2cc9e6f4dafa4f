// Any id file (edited, damaged, binary) either gives an id the game can send and store, or is
// passed over for a new one from the server: nothing else of it reaches the profile.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "framework/main.hpp"
#include "model/postdata.hpp"
#include "model/profile.hpp"
#include "platform/storage.hpp"
#include "tests/fuzz/support.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::StartGameWithUserFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzz::FreshAfterRun fresh;
    FILE* fp = std::fopen((platform::UserFolder() + "/id.txt").c_str(), "wb");
    fuzz::Check(fp != nullptr);
    fuzz::Check(size == 0 || std::fwrite(data, 1, size, fp) == size);
    fuzz::Check(std::fclose(fp) == 0);

    // Without a server's address no request leaves; the id comes from the file or not at all.
    postData->GetID();
    fuzz::Check(postData->id_req == nullptr);
    const std::string id = Profile::GetGlobalFlagString("ID");
    if (id.empty()) return 0;
    const std::string file(reinterpret_cast<const char*>(data), size);
    fuzz::Check(id.size() <= PostData::kMaxIdLength && file.find(id) != std::string::npos);
    for (char c : id) {
        const auto code = static_cast<unsigned char>(c);
        fuzz::Check(c != '|' && c != '&' && c != '=' && code >= 32 && code != 127);
    }
    // The kept id goes into the save state, and comes back out of it whole.
    const std::string state = Profile::saveData->ToString();
    Profile::saveData->FromString(state);
    fuzz::Check(Profile::GetGlobalFlagString("ID") == id);
    return 0;
}

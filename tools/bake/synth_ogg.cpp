// The one Ogg Vorbis writer, for the baker's sounds and tracks and the audio tests' fixtures.
#include "synth_ogg.hpp"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace bake::synth {
namespace {

constexpr int kChunkFrames = 4096;
// A fixed stream serial number: the same input must give byte-identical files on every bake.
constexpr int kSerial = 0x42524B31;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

bool WritePage(std::FILE* file, const ogg_page& page) {
    return std::fwrite(page.header, 1, static_cast<std::size_t>(page.header_len), file) ==
               static_cast<std::size_t>(page.header_len) &&
           std::fwrite(page.body, 1, static_cast<std::size_t>(page.body_len), file) ==
               static_cast<std::size_t>(page.body_len);
}

}  // namespace

bool WriteOggVorbis(const std::string& path, const std::vector<const std::vector<float>*>& channels, int rate,
                    float quality, std::string& error) {
    if (channels.empty() || channels.size() > 2) {
        error = path + ": only mono or stereo can be written";
        return false;
    }
    const std::size_t frames = channels[0]->size();
    std::error_code ec;
    const auto parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        error = path + ": cannot open for writing";
        return false;
    }

    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, static_cast<long>(channels.size()), rate, quality) != 0) {
        vorbis_info_clear(&info);
        error = path + ": the Vorbis encoder refused its settings";
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, kSerial);

    bool ok = true;
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    // The headers get pages of their own so audio starts on a fresh page, as decoders expect.
    while (ok && ogg_stream_flush(&stream, &page) != 0) ok = WritePage(file.get(), page);

    std::size_t done = 0;
    bool ended = false;
    while (ok && !ended) {
        const std::size_t n = std::min<std::size_t>(kChunkFrames, frames - done);
        if (n == 0) {
            vorbis_analysis_wrote(&dsp, 0);  // end of stream
            ended = true;
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
            for (std::size_t c = 0; c < channels.size(); ++c)
                std::copy_n(channels[c]->data() + done, n, buffer[c]);
            vorbis_analysis_wrote(&dsp, static_cast<int>(n));
            done += n;
        }
        while (ok && vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (ok && vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
                ogg_stream_packetin(&stream, &packet);
                while (ok && ogg_stream_pageout(&stream, &page) != 0) ok = WritePage(file.get(), page);
            }
        }
    }
    while (ok && ogg_stream_flush(&stream, &page) != 0) ok = WritePage(file.get(), page);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    if (ok && std::fflush(file.get()) != 0) ok = false;
    if (!ok) {
        // A truncated file must not pass for a finished one on the next build.
        file.reset();
        std::filesystem::remove(path, ec);
        error = path + ": write failed";
    }
    return ok;
}

}  // namespace bake::synth

#pragma once
// Ogg Vorbis files written by the tests themselves, with the Vorbis encoder.
#include <gtest/gtest.h>
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace testogg {

// Writes a stereo Ogg Vorbis file of the given samples (interleaved).
inline void WriteOgg(const std::string& file, const std::vector<float>& stereo, int rate) {
    vorbis_info vi;
    vorbis_info_init(&vi);
    ASSERT_EQ(vorbis_encode_init_vbr(&vi, 2, rate, 0.6f), 0);
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block vb;
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 7);
    FILE* f = std::fopen(file.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    ogg_packet header, comment, code;
    vorbis_analysis_headerout(&vd, &vc, &header, &comment, &code);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comment);
    ogg_stream_packetin(&os, &code);
    ogg_page page;
    while (ogg_stream_flush(&os, &page) != 0) {
        std::fwrite(page.header, 1, page.header_len, f);
        std::fwrite(page.body, 1, page.body_len, f);
    }
    const size_t frames = stereo.size() / 2;
    size_t at = 0;
    bool eos = false;
    bool ended = false;
    while (!eos) {
        const size_t n = std::min<size_t>(1024, frames - at);
        if (n == 0) {
            if (!ended) vorbis_analysis_wrote(&vd, 0);  // marks the end once
            ended = true;
        } else {
            float** buf = vorbis_analysis_buffer(&vd, static_cast<int>(n));
            for (size_t i = 0; i < n; ++i) {
                buf[0][i] = stereo[2 * (at + i)];
                buf[1][i] = stereo[2 * (at + i) + 1];
            }
            vorbis_analysis_wrote(&vd, static_cast<int>(n));
            at += n;
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                while (!eos && ogg_stream_pageout(&os, &page) != 0) {
                    std::fwrite(page.header, 1, page.header_len, f);
                    std::fwrite(page.body, 1, page.body_len, f);
                    if (ogg_page_eos(&page)) eos = true;
                }
            }
        }
    }
    std::fclose(f);
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
}

inline std::vector<float> Sine(int frames, int rate, double hz, float amplitude) {
    std::vector<float> out;
    for (int i = 0; i < frames; ++i) {
        const auto v = static_cast<float>(amplitude * std::sin(2 * 3.14159265358979323846 * hz * i / rate));
        out.push_back(v);
        out.push_back(-v);
    }
    return out;
}

}  // namespace testogg

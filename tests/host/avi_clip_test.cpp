// The AVI reader behind the animation control's window: the program's fan clip, the RLE8 codes a
// clip may use, and damaged clips.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../tools/resgen/resgen.h"
#include "ui/AviClip.h"

namespace {

using resgen::Bytes;

bool Read(const Bytes& file, ui::AviClip& clip) {
    return ui::ReadAviClip(file.data(), file.size(), clip);
}

// A clip of 8-bit pictures of 4 x 2 pixels, one frame chunk per entry of `frames`.
Bytes SmallClip(const std::vector<Bytes>& frames, std::uint32_t compression = 1,
                std::uint16_t bits = 8) {
    resgen::ByteWriter out;
    const std::size_t riff = out.beginList("RIFF", "AVI ");
    const std::size_t hdrl = out.beginList("LIST", "hdrl");
    const std::size_t avih = out.beginChunk("avih");
    out.u32(100000);
    out.zeros(52);
    out.endChunk(avih);
    // An audio stream before the video stream: the frames are those of stream 01.
    const std::size_t audio = out.beginList("LIST", "strl");
    const std::size_t audioHeader = out.beginChunk("strh");
    out.fourcc("auds");
    out.zeros(52);
    out.endChunk(audioHeader);
    out.endChunk(audio);
    const std::size_t strl = out.beginList("LIST", "strl");
    const std::size_t strh = out.beginChunk("strh");
    out.fourcc("vids");
    out.fourcc("mrle");
    out.zeros(48);
    out.endChunk(strh);
    const std::size_t strf = out.beginChunk("strf");
    out.u32(40);
    out.i32(4);
    out.i32(2);
    out.u16(1);
    out.u16(bits);
    out.u32(compression);
    out.zeros(12);
    out.u32(2); // colours used
    out.u32(0);
    out.u32(0x00102030); // blue 0x30, green 0x20, red 0x10
    out.u32(0x00405060);
    out.endChunk(strf);
    out.endChunk(strl);
    out.endChunk(hdrl);
    const std::size_t movi = out.beginList("LIST", "movi");
    for (const Bytes& frame : frames) {
        const std::size_t chunk = out.beginChunk("01dc");
        out.bytes(frame);
        out.endChunk(chunk);
        const std::size_t other = out.beginChunk("00wb"); // the audio stream's data
        out.bytes({9, 9, 9});
        out.endChunk(other);
    }
    out.endChunk(movi);
    out.endChunk(riff);
    return out.data();
}

TEST(AviClipTest, TheProgramsFanClipGivesItsSixFrames) {
    ui::AviClip clip;
    ASSERT_TRUE(Read(resgen::makeFanAvi(), clip));
    EXPECT_EQ(clip.width, resgen::kFanSize);
    EXPECT_EQ(clip.height, resgen::kFanSize);
    EXPECT_EQ(clip.microSecPerFrame, 66667u);
    ASSERT_EQ(clip.frames.size(), static_cast<std::size_t>(resgen::kFanFrames));
    for (int f = 0; f < resgen::kFanFrames; ++f)
        EXPECT_EQ(clip.frames[static_cast<std::size_t>(f)], resgen::drawFanFrame(f).pixels)
            << "frame " << f;
    const std::vector<resgen::Rgb> palette = resgen::fanPalette();
    ASSERT_EQ(clip.palette.size(), 256u);
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const ui::AviClip::Colour& c = clip.palette[i];
        EXPECT_TRUE(c.r == palette[i].r && c.g == palette[i].g && c.b == palette[i].b) << i;
    }
}

TEST(AviClipTest, Rle8CodesDrawEachFrameOverThePreviousOne) {
    struct Case {
        std::string what;
        std::vector<Bytes> frames;
        std::vector<std::uint8_t> last; // the last frame, rows from the top
    };
    const Case cases[] = {
        {"runs, bottom row first", {{4, 1, 0, 0, 2, 2, 2, 3, 0, 1}}, {2, 2, 3, 3, 1, 1, 1, 1}},
        {"a literal run of three, padded to a word",
         {{0, 3, 5, 6, 7, 0, 1, 8, 0, 0, 4, 9, 0, 1}},
         {9, 9, 9, 9, 5, 6, 7, 8}},
        {"a move keeps the previous frame's pixels",
         {{4, 1, 0, 0, 4, 2, 0, 1}, {0, 2, 1, 1, 2, 7, 0, 1}},
         {2, 7, 7, 2, 1, 1, 1, 1}},
        {"an empty chunk repeats the previous frame",
         {{4, 4, 0, 0, 4, 4, 0, 1}, {}},
         {4, 4, 4, 4, 4, 4, 4, 4}},
        {"pixels past the right edge are dropped",
         {{9, 5, 0, 0, 2, 6, 0, 1}},
         {6, 6, 0, 0, 5, 5, 5, 5}},
        {"codes above the top row are dropped",
         {{0, 2, 0, 5, 3, 1, 0, 1}},
         {0, 0, 0, 0, 0, 0, 0, 0}},
        {"data cut in the middle of a literal run", {{0, 5, 1, 2}}, {0, 0, 0, 0, 1, 2, 0, 0}},
        {"data cut in the middle of a move", {{2, 3, 0, 2, 1}}, {0, 0, 0, 0, 3, 3, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui::AviClip clip;
        ASSERT_TRUE(Read(SmallClip(c.frames), clip));
        EXPECT_EQ(clip.width, 4);
        EXPECT_EQ(clip.height, 2);
        EXPECT_EQ(clip.microSecPerFrame, 100000u);
        ASSERT_EQ(clip.frames.size(), c.frames.size());
        EXPECT_EQ(clip.frames.back(), c.last);
    }
}

TEST(AviClipTest, PlainPicturesAreRowsOfWholeWordsFromTheBottom) {
    ui::AviClip clip;
    ASSERT_TRUE(Read(SmallClip({{1, 2, 3, 4, 5, 6, 7, 8}}, 0), clip));
    EXPECT_EQ(clip.frames.back(), (std::vector<std::uint8_t>{5, 6, 7, 8, 1, 2, 3, 4}));
    EXPECT_EQ(clip.palette[0].r, 0x10);
    EXPECT_EQ(clip.palette[1].b, 0x60);
    EXPECT_EQ(clip.palette[2].r, 0); // not in the file
}

TEST(AviClipTest, WhatIsNoClipOfEightBitPicturesIsRefused) {
    ui::AviClip clip;
    EXPECT_FALSE(Read(SmallClip({}), clip)) << "no frame";
    EXPECT_FALSE(Read(SmallClip({{0, 1}}, 1, 4), clip)) << "4-bit pictures";
    EXPECT_FALSE(Read(SmallClip({{0, 1}}, 2), clip)) << "RLE4";
    Bytes wave = SmallClip({{0, 1}});
    wave[8] = 'W';
    EXPECT_FALSE(Read(wave, clip)) << "not an AVI";
    EXPECT_EQ(clip.frames.size(), 0u);
    EXPECT_FALSE(ui::ReadAviClip(nullptr, 0, clip));
}

// Every length the file can be cut to reads without a fault; once the first frame is in, the
// clip is there.
TEST(AviClipTest, ACutFileReadsAsFarAsItGoes) {
    const Bytes file = resgen::makeFanAvi();
    std::size_t firstFrameEnd = 0;
    for (std::size_t size = 0; size <= file.size(); ++size) {
        Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
        ui::AviClip clip;
        if (Read(cut, clip)) {
            if (!firstFrameEnd) firstFrameEnd = size;
            EXPECT_EQ(clip.width, resgen::kFanSize);
            EXPECT_FALSE(clip.frames.empty());
        } else {
            EXPECT_EQ(firstFrameEnd, 0u) << "refused at " << size;
        }
    }
    EXPECT_GT(firstFrameEnd, 0u);
}

} // namespace

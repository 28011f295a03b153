#include <gtest/gtest.h>

#include "durnak/protocol/error.hpp"
#include "durnak/protocol/frame.hpp"

using namespace durnak::protocol;

TEST(Frame, SplitsFramesFedByteByByte)
{
    std::string wire;
    appendFrame(wire, "first");
    appendFrame(wire, "");
    appendFrame(wire, std::string(70000, 'x'));
    ASSERT_EQ(wire.substr(0, 4), std::string("\0\0\0\5", 4));

    FrameDecoder decoder;
    std::vector<std::string> frames;
    for (char c : wire) {
        decoder.feed(std::string_view(&c, 1));
        while (auto f = decoder.next()) frames.push_back(*f);
    }
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0], "first");
    EXPECT_EQ(frames[1], "");
    EXPECT_EQ(frames[2].size(), 70000u);
    EXPECT_EQ(decoder.buffered(), 0u);
}

TEST(Frame, WantedTellsExactlyWhatIsMissing)
{
    std::string wire;
    appendFrame(wire, "abcdef");
    FrameDecoder decoder;
    EXPECT_EQ(decoder.wanted(), 4u);
    decoder.feed(wire.substr(0, 2));
    EXPECT_EQ(decoder.wanted(), 2u);
    decoder.feed(wire.substr(2, 5));
    EXPECT_EQ(decoder.wanted(), 3u);
    EXPECT_EQ(decoder.buffered(), 7u);
    EXPECT_FALSE(decoder.next());
    decoder.feed(wire.substr(7));
    EXPECT_EQ(decoder.wanted(), 4u);  // the next frame's header
    EXPECT_EQ(*decoder.next(), "abcdef");
}

TEST(Frame, LengthOverLimitIsRejectedFromTheHeaderAlone)
{
    FrameDecoder decoder(1024);
    std::string wire;
    appendFrame(wire, std::string(1025, 'y'));
    decoder.feed(wire.substr(0, 4));
    EXPECT_THROW(decoder.next(), ProtocolError);

    // A huge length announced by a following frame is caught before its payload is awaited.
    FrameDecoder second(1024);
    std::string two;
    appendFrame(two, "ok");
    two += std::string("\xff\xff\xff\xff", 4);
    second.feed(two);
    EXPECT_EQ(*second.next(), "ok");
    EXPECT_THROW(second.next(), ProtocolError);
}

// Large forms: the file a save writes is the CP932 form of FormFileText, byte for
// byte, however the writer cuts the text into pieces on the way, and a large
// file reads back to the form that was saved.

#include "files/form_file.h"
#include "model/defaults.h"
#include "model/long_text.h"
#include "platform/cp932.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

namespace kelvaro {
namespace {

using test::ReadBytes;
using test::TempFolder;

// Where two large strings first differ (npos: nowhere). A failing check then
// shows an offset instead of two texts of megabytes each.
std::size_t FirstDifference(const std::string& a, const std::string& b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (a[i] != b[i]) {
            return i;
        }
    }
    return a.size() == b.size() ? std::string::npos : common;
}

// `bytes` of text made of `line` repeated, cut to whole lines.
std::string Repeated(const std::string& line, std::size_t bytes) {
    std::string text;
    while (text.size() + line.size() <= bytes) {
        text += line;
    }
    return text;
}

class LargeForm : public ::testing::Test {
protected:
    LargeForm() : ws(FreshWorkspace()) {}

    // Saves the form and checks the file against the text, then returns it.
    std::string SaveAndCompare() {
        WriteFormFile(ws, folder.File("large.ref"));
        std::string bytes = ReadBytes(folder.File("large.ref"));
        EXPECT_EQ(FirstDifference(bytes, Utf8ToCp932(FormFileText(ws.form))), std::string::npos);
        return bytes;
    }

    TempFolder folder;
    Workspace ws;
};

TEST_F(LargeForm, SavedBytesAreTheEncodedTextForEveryPieceSize) {
    // Texts just under, at and over the size from which the writer converts a
    // piece straight from the form instead of gathering it, and over the room
    // one conversion call gets.
    const std::size_t sizes[] = {0, 1, 65535, 65536, 65537, 1048575, 1048577, 3 * 1048576 + 5};
    const std::string line = "ｱｰｶｲﾌﾞ 作者名 Setup.exe ～①Ⅰ\r\n";
    for (std::size_t k = 0; k < LongTextCount; ++k) {
        ws.form.LongTexts[k] = Repeated(line, sizes[k % std::size(sizes)]);
    }
    ws.EditorText = ws.form.LongTexts[0];
    // Many short lines, so that gathered pieces are cut in the middle of the order.
    for (int i = 0; i < 20000; ++i) {
        ws.form.Order.push_back(OrderEntry{"作者名", "作者名", i % 2 == 0});
    }
    SaveAndCompare();

    Workspace back = FreshWorkspace();
    ReadFormFile(back, folder.File("large.ref"));
    for (std::size_t k = 0; k < LongTextCount; ++k) {
        EXPECT_EQ(FirstDifference(back.form.LongTexts[k], ws.form.LongTexts[k]), std::string::npos)
            << "long text " << k;
    }
    EXPECT_EQ(back.form.Order.size(), ws.form.Order.size());
    EXPECT_EQ(back.form.Order.back(), ws.form.Order.back());
    EXPECT_EQ(back.EditorText, ws.form.LongTexts[0]);
}

TEST_F(LargeForm, UnmappableAndBrokenCharactersAtPieceEdgesBecomeQuestionMarks) {
    // An emoji right at the end and the start of a long text, and UTF-8 cut
    // short at the end of values: each is "?" in the file as in the text.
    ws.form.LongTexts[1] = "😀" + Repeated("あいう\r\n", 70000) + "😀";
    ws.form.LongTexts[2] = Repeated("x", 65536) + "\xE3\x81";
    ws.form.LineValues[LineSlot::Author] = "作者\xE3";
    ws.form.LineValues[LineSlot::SoftwareName] = "\x81\x82ソフト";
    ws.form.UserNames[0] = "独自😀";
    SetUserName(ws, 0, ws.form.UserNames[0]);
    const std::string bytes = SaveAndCompare();
    EXPECT_NE(bytes.find(Utf8ToCp932("作者?")), std::string::npos);
    EXPECT_NE(bytes.find(Utf8ToCp932("??ソフト")), std::string::npos);
    EXPECT_NE(bytes.find("x??\r\n!%#"), std::string::npos);
}

TEST(LargeConversions, TextsLongerThanOneConversionCallComeBackWhole) {
    // Half-width katakana grow from one byte to three when decoded, the most any
    // byte grows, so the decoder's output room is used to its limit.
    const std::string kana(3 * 1048576 + 7, '\xB1');
    std::string kanaUtf8;
    for (std::size_t i = 0; i < kana.size(); ++i) {
        kanaUtf8 += "ｱ";
    }
    EXPECT_EQ(FirstDifference(Cp932ToUtf8(kana), kanaUtf8), std::string::npos);
    EXPECT_EQ(FirstDifference(Utf8ToCp932(kanaUtf8), kana), std::string::npos);

    // Invalid bytes around the places where one call's room ends.
    std::string bytes(2 * 1048576 + 3, 'a');
    std::string expected(bytes.size(), 'a');
    const std::size_t at[] = {1048575, 1048576, 1048577, bytes.size() - 1};
    for (auto it = std::rbegin(at); it != std::rend(at); ++it) {
        bytes[*it] = '\xA0';
        expected.replace(*it, 1, "\xEF\xBF\xBD");
    }
    EXPECT_EQ(FirstDifference(Cp932ToUtf8(bytes), expected), std::string::npos);
}

TEST(LargeConversions, PiecesEndingOnCharactersJoinAsTheWholeText) {
    // Broken bytes at the end of a piece are followed by ASCII in the joined
    // text too, so they are broken there as well.
    const std::string pieces[] = {"作者\xE3\x81",         "\r\n", "\x82ｱ～", "😀", "",
                                  std::string(70000, 'z')};
    std::string joined;
    Cp932Builder builder(Unmappable::NumericReference);
    for (const auto& piece : pieces) {
        builder.Append(piece);
        joined += piece;
    }
    const std::string whole = Utf8ToCp932(joined, Unmappable::NumericReference);
    EXPECT_EQ(FirstDifference(builder.Take(), whole), std::string::npos);
    const std::string start = "\x8D\xEC\x8E\xD2&#65533;&#65533;\r\n&#65533;\xB1\x81\x60&#128512;zz";
    EXPECT_EQ(whole.substr(0, start.size()), start);

    // A character cut in two between pieces is broken bytes, one reference each;
    // Take hands over what was built and starts again empty.
    builder.Append("\xE3\x81");
    builder.Append("\x82次");
    EXPECT_EQ(builder.Take(), "&#65533;&#65533;&#65533;\x8E\x9F");
    builder.Append("次");
    EXPECT_EQ(builder.Take(), "\x8E\x9F");
}

} // namespace
} // namespace kelvaro

#ifdef _WIN32
#include <gtest/gtest.h>

TEST(LinuxOnly, FormFileFaultTest) {
    GTEST_SKIP() << "Linux only: faults made with POSIX modes, flock locks and a second user";
}
#else
// Form files that are cut short, hold bytes no CP932 text has, NUL bytes, lines
// of megabytes or a count no file can hold: each either reads or fails with its
// number, and nothing is allocated for what the file only promises. A form file
// that cannot be opened leaves the form and the current file as they were.

#include "files/form_file.h"
#include "files/lifecycle.h"
#include "model/defaults.h"
#include "model/long_text.h"
#include "platform/cp932.h"
#include "platform/error.h"
#include "support/fixtures.h"
#include "support/lock_holder.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using kelvaro::test::LockHolder;

namespace kelvaro {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

using test::ThrownNumber;

// A form with something in every part of the file: values, user names, long
// texts of several lines, user items in the order, settings off their defaults.
Workspace FilledWorkspace() {
    Workspace ws = FreshWorkspace();
    for (std::size_t i = 0; i < ws.form.LineValues.size(); ++i) {
        ws.form.LineValues[i] = "値" + std::to_string(i);
    }
    ws.form.SizeUnit = 2;
    ws.form.ChoiceValues[ChoiceSlot::SoftwareKind] = "フリーウェア";
    for (int i = 0; i < static_cast<int>(UserNameCount); ++i) {
        SetUserName(ws, i, "独自" + std::to_string(i + 1));
    }
    for (std::size_t k = 0; k < LongTextCount; ++k) {
        ws.form.LongTexts[k] = "一行目 " + std::to_string(k) + "\r\n二行目\r\n\r\n四行目";
    }
    ws.EditorText = ws.form.LongTexts[0];
    ws.form.Order.push_back(OrderEntry{"独自3", "追加3", true});
    ws.form.Order.push_back(OrderEntry{"XYZ", "XYZ", true});
    ws.form.SkipEmptyItems = 1;
    ws.form.PauseChars = "＝";
    ws.form.PauseCount = "39";
    ws.form.HtmlBackgroundMode = 1;
    ws.form.HtmlSettings[HtmlSetting::BackgroundColour] = "#000000";
    ws.form.HtmlPauseAsHr = 0;
    ws.form.PreviewMode = 2;
    return ws;
}

// Reads decoded text into a fresh workspace; the error number, or 0.
int ReadInto(Workspace& ws, const std::string& cp932) {
    return ThrownNumber([&] { ReadFormFileText(ws, Cp932ToUtf8(cp932)); });
}

// The index (from 0) of the line that begins at byte `offset`.
std::size_t LineAt(const std::string& file, std::size_t offset) {
    return static_cast<std::size_t>(
        std::count(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

// The index of the count line before the item order of a filled form's file.
std::size_t CountLine(const std::string& file) {
    return LineAt(file, file.find(Utf8ToCp932("!%#\r\n 41 \r\n")) + 5);
}

// The form file with one line replaced; lines are counted from 0.
std::string WithLine(const std::string& file, std::size_t line, const std::string& text) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < line; ++i) {
        start = file.find("\r\n", start) + 2;
    }
    const std::size_t end = file.find("\r\n", start);
    return file.substr(0, start) + text + file.substr(end);
}

TEST(TruncatedFormFiles, EveryCutEndsEarlyOrReadsWholeAndKeepsWhatWasRead) {
    const Workspace full = FilledWorkspace();
    const std::string file = Utf8ToCp932(FormFileText(full.form));
    const Form fresh = FreshWorkspace().form;
    const std::size_t lastLineStart = file.rfind("\r\n", file.size() - 3) + 2;

    const std::size_t orderStart = file.find(Utf8ToCp932("!%#\r\n 41 \r\n")) + 12;
    const std::size_t htmlStart = file.find("\r\n#000000\r\n") + 2;
    int endedEarly = 0;
    int readWhole = 0;
    for (std::size_t cut = 0; cut <= file.size(); ++cut) {
        SCOPED_TRACE("cut after byte " + std::to_string(cut));
        Workspace ws = FreshWorkspace();
        const int number = ReadInto(ws, file.substr(0, cut));
        if (cut > lastLineStart) {
            // Every line is there (the last may be short of its end or of
            // letters), so the file reads to its end.
            EXPECT_EQ(number, 0);
            ++readWhole;
            continue;
        }
        ASSERT_EQ(number, ErrorNo::InputPastEnd);
        ++endedEarly;
        // Values are stored as they are read: cut in the item order, everything
        // before it is the file's and the settings after it are still the old.
        if (cut >= orderStart && cut <= htmlStart) {
            EXPECT_EQ(ws.form.LineValues, full.form.LineValues);
            EXPECT_EQ(ws.form.LongTexts, full.form.LongTexts);
            EXPECT_EQ(ws.form.UserNames, full.form.UserNames);
            EXPECT_EQ(ws.form.HtmlSettings, fresh.HtmlSettings);
            EXPECT_LE(ws.form.Order.size(), full.form.Order.size());
        }
    }
    EXPECT_EQ(readWhole, 6); // "T" to "True", "True" with CR, and with CR LF
    EXPECT_EQ(endedEarly, static_cast<int>(lastLineStart + 1));

    // Cut at a line end, the same file read from disk gives the same number.
    TempFolder folder;
    WriteBytes(folder.File("cut.ref"), file.substr(0, file.find("\r\n", file.size() / 2)));
    Workspace ws = FreshWorkspace();
    EXPECT_EQ(ThrownNumber([&] { ReadFormFile(ws, folder.File("cut.ref")); }),
              ErrorNo::InputPastEnd);
}

TEST(BadFormFileBytes, InvalidCp932BecomesReplacementCharacters) {
    const std::string file = Utf8ToCp932(FormFileText(FilledWorkspace().form));
    // A lead byte without its second byte, bytes that are no character, and a
    // lead byte cut off by the line end.
    // A lead byte without a second byte of its row, bytes that are no
    // character, a lead byte cut off by the line end.
    std::string bad = WithLine(file, 2,
                               "a\x82 b\xA0\xFD\xFE\xFF"
                               "c\x81");
    bad = WithLine(bad, 26, "\x80\x82\xA0");              // the first line of the first long text
    bad = WithLine(bad, CountLine(file) + 2, "\xEF\xEF"); // the first order key
    Workspace ws = FreshWorkspace();
    ASSERT_EQ(ReadInto(ws, bad), 0);
    const std::string r = "\xEF\xBF\xBD";
    EXPECT_EQ(ws.form.LineValues[LineSlot::Author], "a" + r + " b" + r + r + r + r + "c" + r);
    EXPECT_EQ(ws.form.LongTexts[0].substr(0, 8), r + "あ\r\n");
    EXPECT_EQ(ws.form.Order[0].Key, r + r);
    EXPECT_EQ(ws.form.LineValues[LineSlot::SoftwareName], "値1"); // the lines around are untouched

    // Saved, the replacement characters have no CP932 form and become "?".
    Workspace again = FreshWorkspace();
    ASSERT_EQ(ReadInto(again, Utf8ToCp932(FormFileText(ws.form))), 0);
    EXPECT_EQ(again.form.LineValues[LineSlot::Author], "a? b????c?");
    EXPECT_EQ(again.form.Order[0].Key, "??");
}

TEST(BadFormFileBytes, NulBytesAreKeptLikeAnyOtherCharacter) {
    TempFolder folder;
    Workspace ws = FilledWorkspace();
    const std::string nul("\0", 1);
    ws.form.LineValues[LineSlot::Author] = nul + "作者" + nul;
    ws.form.LongTexts[3] = "前" + nul + "\r\n" + nul + nul;
    ws.form.Order.push_back(OrderEntry{nul, nul, true});
    ws.form.PauseChars = nul;
    WriteFormFile(ws, folder.File("nul.ref"));
    EXPECT_NE(ReadBytes(folder.File("nul.ref")).find(std::string("\0\x8D\xEC\x8E\xD2\0", 6)),
              std::string::npos);

    Workspace back = FreshWorkspace();
    ReadFormFile(back, folder.File("nul.ref"));
    EXPECT_EQ(back.form.LineValues[LineSlot::Author], ws.form.LineValues[LineSlot::Author]);
    EXPECT_EQ(back.form.LongTexts[3], ws.form.LongTexts[3]);
    EXPECT_EQ(back.form.Order.back().Key, nul);
    EXPECT_EQ(back.form.PauseChars, nul);
}

TEST(BadFormFileBytes, LinesOfTenMegabytesReadWhole) {
    Workspace ws = FilledWorkspace();
    const std::string huge(std::size_t{10} * 1024 * 1024, 'L');
    ws.form.LineValues[LineSlot::ArchiveName] = huge; // one single-line value
    ws.form.LongTexts[5] = "a\r\n" + huge;            // one line of a long text
    ws.form.Order.push_back(OrderEntry{huge, huge, false});
    ws.form.HtmlSettings[HtmlSetting::TopicStyle] = huge;
    // As a save writes it and an open reads it, without the disk in between.
    Workspace back = FreshWorkspace();
    ASSERT_EQ(ReadInto(back, Utf8ToCp932(FormFileText(ws.form))), 0);
    // Sizes and the first stray letter, rather than texts of ten megabytes.
    EXPECT_EQ(back.form.LineValues[LineSlot::ArchiveName].size(), huge.size());
    EXPECT_EQ(back.form.LineValues[LineSlot::ArchiveName].find_first_not_of('L'),
              std::string::npos);
    EXPECT_EQ(back.form.LongTexts[5].size(), huge.size() + 3);
    EXPECT_EQ(back.form.LongTexts[5].find_first_not_of('L', 3), std::string::npos);
    EXPECT_EQ(back.form.LongTexts[5].substr(0, 3), "a\r\n");
    EXPECT_EQ(back.form.Order.back().Key.size(), huge.size());
    EXPECT_EQ(back.form.HtmlSettings[HtmlSetting::TopicStyle].size(), huge.size());
    EXPECT_EQ(back.form.LineValues[LineSlot::CreatedDate],
              ws.form.LineValues[LineSlot::CreatedDate]);
    EXPECT_EQ(back.form.LongTexts[6], ws.form.LongTexts[6]);
    EXPECT_EQ(back.form.Order.size(), ws.form.Order.size());
    EXPECT_EQ(back.form.PreviewMode, ws.form.PreviewMode);
}

TEST(BadFormFileBytes, ACountNoFileCanHoldAllocatesNothingForIt) {
    const std::string file = Utf8ToCp932(FormFileText(FilledWorkspace().form));
    const std::size_t countLine = CountLine(file);
    const std::size_t lines = LineAt(file, file.size());
    const std::size_t linesAfter = lines - countLine - 1;

    Workspace ws = FreshWorkspace();
    EXPECT_EQ(ReadInto(ws, WithLine(file, countLine, " 2000000000 ")), ErrorNo::InputPastEnd);
    // Every line after the count was taken for an entry, two lines each, and
    // room was made for no more entries than the lines left could hold.
    // (The order keeps the room it had before, which is more than this.)
    const std::size_t room = std::max(FreshWorkspace().form.Order.capacity(), (linesAfter + 1) / 2);
    EXPECT_EQ(ws.form.Order.size(), linesAfter / 2);
    EXPECT_LE(ws.form.Order.capacity(), room);

    ws = FreshWorkspace();
    EXPECT_EQ(ReadInto(ws, WithLine(file, countLine, " 2147483647 ")), ErrorNo::InputPastEnd);
    EXPECT_LE(ws.form.Order.capacity(), room);
    ws = FreshWorkspace();
    EXPECT_EQ(ReadInto(ws, WithLine(file, countLine, " 2147483648 ")), ErrorNo::Overflow);
    // The count was not taken: the order is the one before, its user items
    // already renamed from the names read.
    ASSERT_EQ(ws.form.Order.size(), FreshWorkspace().form.Order.size());
    EXPECT_EQ(ws.form.Order[17].Key, "追加1");
    EXPECT_EQ(ws.form.Order[17].Text, "独自1");

    // No entries for a count below one: the entries' lines are then read as the
    // settings that follow the order, and the rest of the file stays unread.
    ws = FreshWorkspace();
    EXPECT_EQ(ReadInto(ws, WithLine(file, countLine, "-2000000000 ")), 0);
    EXPECT_TRUE(ws.form.Order.empty());
}

TEST(WritingFormFiles, WhatWouldNotReadBackIsRefusedWithItsItemAndNothingIsWritten) {
    using Problem = UnwritableItem::Problem;
    struct Case {
        const char* what;
        std::function<void(Workspace&)> spoil;
        UnwritableItem expected;
    };
    const std::vector<Case> cases = {
        {"a value",
         [](Workspace& ws) { ws.form.LineValues[LineSlot::HomePage] = "http://a\r\n"; },
         {"ホームページ", Problem::LineBreak}},
        {"a user item's value",
         [](Workspace& ws) { ws.form.LineValues[LineSlot::UserItem2] = "a\rb"; },
         {"独自2", Problem::LineBreak}},
        {"a choice",
         [](Workspace& ws) { ws.form.ChoiceValues[ChoiceSlot::Reprint] = "\r"; },
         {"転載", Problem::LineBreak}},
        {"a user item's name",
         [](Workspace& ws) { SetUserName(ws, 2, "名\r\n!%#"); },
         {"追加3の項目名", Problem::LineBreak}},
        {"an order key",
         [](Workspace& ws) {
             ws.form.Order.push_back(OrderEntry{"k\r", "k\r", false});
         },
         {"項目順序", Problem::LineBreak}},
        {"the separator count",
         [](Workspace& ws) { ws.form.PauseCount = "7\r\n8"; },
         {"区切り線の回数", Problem::LineBreak}},
        {"a bracket",
         [](Workspace& ws) { ws.form.RightBracket = "】\r\n"; },
         {"括弧（右）", Problem::LineBreak}},
        {"an HTML setting",
         [](Workspace& ws) { ws.form.HtmlSettings[HtmlSetting::BodyStyle] = "\r\n"; },
         {"HTMLのBODY", Problem::LineBreak}},
        {"a lone CR in a long text",
         [](Workspace& ws) { ws.form.LongTexts[1] = "a\rb"; },
         {"送金方法", Problem::LoneCr}},
        {"a CR ending a long text",
         [](Workspace& ws) { ws.form.LongTexts[14] = "a\r\nb\r"; },
         {"独自4", Problem::LoneCr}},
        {"a block end in a long text",
         [](Workspace& ws) { ws.form.LongTexts[2] = "a\r\n!%#"; },
         {"特徴", Problem::MarkerLine}},
    };
    TempFolder folder;
    const std::string path = folder.File("form.ref");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Workspace ws = FilledWorkspace();
        ws.EditorText = ws.form.LongTexts[0];
        c.spoil(ws);
        EXPECT_EQ(FindUnwritableItem(ws.form), c.expected);
        const RuntimeError error = test::Thrown([&] { WriteFormFile(ws, path); });
        EXPECT_EQ(error.Number(), ErrorNo::InvalidProperty);
        EXPECT_EQ(error.Path(), path);
        const std::string message = UnwritableMessage(c.expected);
        EXPECT_EQ(error.Cause(), message.substr(0, message.find("\r\n")));
        EXPECT_FALSE(std::filesystem::exists(path));
    }
}

TEST(WritingFormFiles, LineFeedsAloneReadBackAndAreWritten) {
    // In a file whose lines end with CR LF, a lone LF is an ordinary character.
    Workspace ws = FilledWorkspace();
    ws.form.LineValues[LineSlot::Author] = "a\nb";
    ws.form.LongTexts[0] = "x\ny\r\nz\n";
    ws.EditorText = ws.form.LongTexts[0];
    EXPECT_EQ(FindUnwritableItem(ws.form), std::nullopt);
    TempFolder folder;
    WriteFormFile(ws, folder.File("lf.ref"));
    Workspace back = FreshWorkspace();
    ReadFormFile(back, folder.File("lf.ref"));
    EXPECT_EQ(back.form, ws.form);
}

TEST(OpeningFormFiles, AFileThatCannotBeOpenedChangesNothing) {
    TempFolder folder;
    test::ScriptedHost host;
    Session s(host, folder.Path());
    StartUp(s);
    const std::string current = folder.File("current.ref");
    host.AnswerFile(current);
    SaveFormAs(s);
    s.ws.form.LineValues[LineSlot::Author] = "編集中";
    const std::string locked = folder.File("locked.ref");
    WriteFormFile(s.ws, locked);
    const Form before = s.ws.form;
    const std::string title = s.WindowTitle;
    std::filesystem::create_directory(folder.File("folder.ref"));
    struct Case {
        std::string path;
        int number;
        std::string cause;
    };
    LockHolder holder(locked);
    ASSERT_TRUE(holder.Locked());
    for (const Case& c :
         {Case{locked, ErrorNo::PermissionDenied, "ほかのプログラムが使用中です"},
          Case{folder.File("folder.ref"), ErrorNo::PathFileAccess, "ファイルではなくフォルダです"},
          Case{folder.File("gone/x.ref"), ErrorNo::PathNotFound, "フォルダが見つかりません"}}) {
        SCOPED_TRACE(c.path);
        host.Messages.clear();
        host.AnswerFile(c.path);
        OpenForm(s);
        // No offer to show what was read: nothing was.
        ASSERT_EQ(host.Messages.size(), 1u);
        EXPECT_EQ(test::FirstLines(host.Messages[0].Text, 3), test::ErrorLines(c.number));
        EXPECT_EQ(test::FourthLine(host.Messages[0].Text), "（" + c.path + ": " + c.cause + "）");
        EXPECT_EQ(s.ws.form, before);
        EXPECT_EQ(s.FormFilePath, current);
        EXPECT_EQ(s.WindowTitle, title);
    }
}

} // namespace
} // namespace kelvaro
#endif

// Odd files are imported with a word about what was odd, or refused with a
// message that says why; the report tells the user what needs a look.

#include "files/form_file.h"
#include "import/readme_import.h"
#include "model/catalogue.h"
#include "model/defaults.h"
#include "model/form_texts.h"
#include "platform/cp932.h"
#include "platform/error.h"
#include "session/lossy_question.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

namespace kelvaro {
namespace {

struct Refused {
    const char* Name;
    std::string Bytes;
    const char* Says; // a piece of the message
};

TEST(OddInput, IsRefusedWithAMessageThatSaysWhy) {
    const std::string form = FormFileText(FreshWorkspace().form);
    const Refused cases[] = {
        {"empty", "", "空"},
        {"blanks and line ends only", " \r\n\t\r\n　\r\n", "空"},
        {"a form file", form, "フォームファイル"},
        {"a form file after a blank line", "\r\n" + form, "フォームファイル"},
        {"a form file after blanks", "  　" + form, "フォームファイル"},
        {"a form file in CP932 after a blank line", "\r\n" + Utf8ToCp932(form), "フォームファイル"},
    };
    for (const Refused& c : cases) {
        SCOPED_TRACE(c.Name);
        const RuntimeError failure = test::Thrown([&] { ImportReadMeBytes(c.Bytes); });
        EXPECT_EQ(failure.Number(), ErrorNo::BadFileFormat);
        EXPECT_NE(failure.Cause().find(c.Says), std::string::npos) << failure.Cause();
    }
}

struct Damaged {
    const char* Name;
    std::string Bytes;
    const char* Feature; // the line 特徴 must hold
    std::size_t Broken;  // bytes the report says were replaced
};

std::string Repeated(const std::string& line, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += line;
    }
    return text;
}

// A file over the limit is refused for its size, not as the NUL bytes it holds,
// and every refusal names the file.
TEST(OddInput, AFileOverTheLimitIsRefusedForItsSize) {
    struct Sized {
        const char* Name;
        std::uintmax_t Size; // of NUL bytes, made sparse
        int Number;          // 0: imported
        const char* Says;
    };
    const Sized cases[] = {
        {"one byte over the limit", MaxImportSize + 1, ErrorNo::BadFileFormat, "大きすぎます"},
        {"no text, under the limit", 4096, ErrorNo::BadFileFormat, ""},
        {"missing", 0, ErrorNo::FileNotFound, ""},
    };
    test::TempFolder folder;
    for (const Sized& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string path = folder.File("ReadMe.txt");
        std::filesystem::remove(path);
        if (c.Size > 0) {
            std::ofstream(path, std::ios::binary).put('\0');
            std::filesystem::resize_file(path, c.Size);
        }
        const RuntimeError failure = test::Thrown([&] { ImportReadMeFile(path); });
        EXPECT_EQ(failure.Number(), c.Number);
        EXPECT_EQ(failure.Path(), path);
        EXPECT_EQ(failure.Cause().find("大きすぎます") != std::string::npos,
                  std::string_view(c.Says) == "大きすぎます")
            << failure.Cause();
    }
}

TEST(OddInput, BrokenUtf8BytesBecomeReplacementCharactersWithAWarning) {
    const std::string body = "■ 概要\nねこのメモ帳です。付箋を貼れます。\n";
    const Damaged cases[] = {
        {"one bad byte", "■ 概要\nねこの\xFFメモ帳です。付箋を貼れます。\n",
         "ねこの\xEF\xBF\xBDメモ帳です。付箋を貼れます。", 1},
        {"a cut character", "■ 概要\nねこの\xE3\x81メモ帳です。付箋を貼れます。\n",
         "ねこの\xEF\xBF\xBDメモ帳です。付箋を貼れます。", 1},
        {"bad bytes after a BOM", "\xEF\xBB\xBF■ 概要\n\xFE\xFFねこのメモ帳です。\n",
         "\xEF\xBF\xBD\xEF\xBF\xBDねこのメモ帳です。", 2},
        {"clean UTF-8", body, "ねこのメモ帳です。付箋を貼れます。", 0},
        {"CP932", Utf8ToCp932(body), "ねこのメモ帳です。付箋を貼れます。", 0},
        // Long enough that telling it from UTF-8 counts many pieces on the way.
        {"a long CP932 text", Utf8ToCp932("■ 概要\n" + Repeated("付箋のメモ帳です。\n", 40)),
         nullptr, 0},
    };
    for (const Damaged& c : cases) {
        SCOPED_TRACE(c.Name);
        const ImportResult imported = ImportReadMeBytes(c.Bytes);
        if (c.Feature != nullptr) {
            EXPECT_EQ(imported.form.LongTexts[LookupItem("特徴")->Slot], c.Feature);
        }
        const std::string said =
            c.Broken > 0 ? " " + std::to_string(c.Broken) + " 個を U+FFFD" : "U+FFFD";
        const bool warned = std::any_of(
            imported.report.Checks.begin(), imported.report.Checks.end(),
            [&](const std::string& check) { return check.find(said) != std::string::npos; });
        EXPECT_EQ(warned, c.Broken > 0) << imported.report.Summary();
    }
}

// Lines that fit no section are looked at last: the catch-all ends the checked
// entries, and the summary the window shows says what needs a look.
TEST(OddInput, TheCatchAllComesLastAndTheSummaryNamesWhatToCheck) {
    const ImportResult imported = ImportReadMeBytes("ねこメモ Ver 2.1\n"
                                                    "\n"
                                                    "どの節にも属さない前書き。\n"
                                                    "■ 概要\n"
                                                    "付箋のメモ帳です。\n"
                                                    "■ 使い方\n"
                                                    "起動します。\n");
    const auto& order = imported.form.Order;
    const auto lastChecked =
        std::find_if(order.rbegin(), order.rend(), [](const OrderEntry& e) { return e.Checked; });
    ASSERT_NE(lastChecked, order.rend());
    EXPECT_EQ(lastChecked->Key, UserItemKey(4));
    EXPECT_EQ(imported.form.LongTexts[14], "どの節にも属さない前書き。");
    const std::string summary = imported.report.Summary();
    for (const char* named : {"ねこメモ", "2.1", "題名", "その他"}) {
        EXPECT_NE(summary.find(named), std::string::npos) << named << " in " << summary;
    }
}

// A ReadMe with characters Shift_JIS cannot hold still becomes a form file
// once the user agrees; where a character has a plain likeness the file holds
// that, and the question before the save already says so.
TEST(OddInput, CharactersWithoutACodeAreSavedAsTheirLikeness) {
    struct Row {
        const char* Character;
        const char* Saved;
    };
    const Row rows[] = {
        {"©", "(C)"}, {"®", "(R)"}, {"™", "TM"}, {"½", "1/2"}, {"–", "-"}, {"😀", "?"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Character);
        const std::string line = std::string("Copyright ") + row.Character + " 2013 ねこ工房";
        const ImportResult imported =
            ImportReadMeBytes("■ 概要\n付箋のメモ帳です。\n■ 著作権\n" + line + "\n");
        const std::string& held = imported.form.LongTexts[LookupItem("著作権")->Slot];
        ASSERT_EQ(held, line);
        const std::string saved = Cp932ToUtf8(FormFileBytes(imported.form));
        EXPECT_NE(saved.find(std::string("Copyright ") + row.Saved + " 2013 ねこ工房\r\n"),
                  std::string::npos);
        EXPECT_NE(LossyCharacterLines(NamedFormTexts(imported.form), FormFileUnmappable)
                      .find(std::string("「") + row.Character + "」→「" + row.Saved + "」"),
                  std::string::npos);
    }
}

} // namespace
} // namespace kelvaro

// A ReadMe the program wrote comes back as a form that composes the same bytes.

#include "compose/compose_readme.h"
#include "compose/readme_file.h"
#include "import/readme_import.h"
#include "model/defaults.h"
#include "model/long_text.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <functional>

namespace kelvaro {
namespace {

struct FormCase {
    const char* Name;
    std::function<void(Form&)> Change;
};

void FillEverything(Form& f) {
    for (std::size_t i = 0; i < f.LineValues.size(); ++i) {
        f.LineValues[i] = "値" + std::to_string(i) + " <b>&amp; *x* | y";
    }
    f.LineValues[LineSlot::HomePage] = "https://example.jp/a?b=1&c=2";
    f.LineValues[LineSlot::Mail] = "me@example.jp";
    for (std::size_t i = 0; i < f.LongTexts.size(); ++i) {
        f.LongTexts[i] = "一行目\r\n  字下げ\r\n\r\n- 箇条 #1\r\n1. 番号\r\n\\ ` * _ [x] <y> & | ~";
    }
    f.UserNames = {"独自一", "独自二", "独自三", "独自四"};
    for (auto& entry : f.Order) {
        entry.Checked = true;
        if (const CatalogueItem* item = LookupItem(entry.Key); item && item->UserIndex >= 0) {
            entry.Text = f.UserNames[static_cast<std::size_t>(item->UserIndex)];
        }
    }
}

const FormCase kForms[] = {
    {"fresh", [](Form&) {}},
    {"everything", FillEverything},
    {"brackets and separator",
     [](Form& f) {
         FillEverything(f);
         f.LeftBracket = "[";
         f.RightBracket = "]:";
         f.PauseChars = "=-";
         f.PauseCount = "7";
         f.HtmlPauseAsHr = 0;
     }},
    {"one bracket, empty values",
     [](Form& f) {
         FillEverything(f);
         f.LeftBracket.clear();
         f.RightBracket = "：";
         f.LineValues[LineSlot::Author].clear();
         f.LongTexts[3].clear();
         f.SizeUnit = 2;
         f.LineValues[LineSlot::ArchiveSize] = "12";
     }},
    {"html settings",
     [](Form& f) {
         f.HtmlBackgroundMode = 1;
         f.HtmlSettings[HtmlSetting::BackgroundImage] = "images/back ground.gif";
         f.HtmlSettings[HtmlSetting::BodyStyle] = "color:\"#333333\";font-family:\"MS Gothic\"";
         f.HtmlSettings[HtmlSetting::TopicStyle] = "font-weight:bold";
         f.HtmlPauseAsHr = 0;
     }},
    {"reordered with few checks",
     [](Form& f) {
         FillEverything(f);
         std::reverse(f.Order.begin(), f.Order.end());
         for (std::size_t i = 0; i < f.Order.size(); i += 3) {
             f.Order[i].Checked = false;
         }
     }},
};

struct FileCase {
    ReadMeFormat Format;
    ReadMeEncoding Encoding;
};

const FileCase kFiles[] = {
    {ReadMeFormat::Text, ReadMeEncoding::Cp932},    {ReadMeFormat::Text, ReadMeEncoding::Utf8},
    {ReadMeFormat::Html, ReadMeEncoding::Cp932},    {ReadMeFormat::Html, ReadMeEncoding::Utf8},
    {ReadMeFormat::Markdown, ReadMeEncoding::Utf8}, {ReadMeFormat::Html5, ReadMeEncoding::Utf8},
};

std::string FileOf(const Form& form, FileCase file) {
    return ReadMeFileBytes(ComposeReadMe(form, file.Format), file.Format, file.Encoding);
}

// The Markdown page starts with the name and version, which a text ReadMe
// shows only where they are checked.
bool NamesTheSoftware(const Form& form) {
    int shown = 0;
    for (const OrderEntry& entry : form.Order) {
        shown += entry.Checked && (entry.Key == "ソフト名" || entry.Key == "バージョン") ? 1 : 0;
    }
    return shown >= 2;
}

TEST(OwnReadMe, ComposesBackToTheSameBytesInEveryFormatAndEncoding) {
    for (const FormCase& c : kForms) {
        Form form = FreshWorkspace().form;
        c.Change(form);
        for (const FileCase file : kFiles) {
            SCOPED_TRACE(std::string(c.Name) + " / format " +
                         std::to_string(static_cast<int>(file.Format)) + " / encoding " +
                         std::to_string(static_cast<int>(file.Encoding)));
            const std::string bytes = FileOf(form, file);
            const ImportResult imported = ImportReadMeBytes(bytes);
            EXPECT_TRUE(imported.report.OwnLayout);
            EXPECT_EQ(imported.report.Format, file.Format);
            EXPECT_EQ(FileOf(imported.form, FileCase{file.Format, imported.report.Encoding}),
                      bytes);
            // An old text ReadMe becomes the README.md its form would have given.
            if (file.Format == ReadMeFormat::Text && NamesTheSoftware(form)) {
                EXPECT_EQ(ComposeReadMe(imported.form, ReadMeFormat::Markdown),
                          ComposeReadMe(form, ReadMeFormat::Markdown));
            }
        }
    }
}

} // namespace
} // namespace kelvaro

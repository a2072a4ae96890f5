// The HTML5 page, checked by two validators (tidy and html5lib) and laid out by
// Chromium: valid for the default form and for hostile values, and showing the
// colours and font of the HTML tab and every line of a long text.

#include "compose/compose_readme.h"
#include "compose/readme_file.h"
#include "model/defaults.h"
#include "platform/app_info.h"
#include "platform/error.h"
#include "support/fixtures.h"
#include "support/rendered.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvaro {
namespace {

using test::HtmlNode;

using test::FormWith;

std::string Page(const Form& form) {
    return ComposeReadMe(form, ReadMeFormat::Html5);
}

// The page's lines in its body: every line and text box as its text, line
// feeds included (the page shows them).
std::vector<std::string> BodyTexts(const HtmlNode& root) {
    std::vector<std::string> texts;
    for (const HtmlNode* body : root.FindAll("body")) {
        for (const HtmlNode* element : body->Elements()) {
            texts.push_back(element->Tag + "." + element->Attribute("class") + " " +
                            element->RawText());
        }
    }
    return texts;
}

std::string StyleSheet(const HtmlNode& root) {
    const auto styles = root.FindAll("style");
    return styles.size() == 1 ? styles[0]->RawText() : std::string("(not one style element)");
}

// A form with something hostile in every place a value can stand.
Form HostileForm() {
    Form form = FormWith({"作者名", "ソフト名", "ホームページ", "メール", "追加1", "特徴", "追加3",
                          "区切り線", "このソフトウェアの情報"});
    const std::string evil = "</div><script>alert(\"x\")</script>&amp; <!-- ]]> \x01\x7F";
    form.LineValues[LineSlot::Author] = evil;
    form.LineValues[LineSlot::SoftwareName] = "</title><script>alert(1)</script>";
    form.LineValues[LineSlot::HomePage] = "http://example.jp/a b?x=\"1\"&y=<2>#日本";
    form.LineValues[LineSlot::Mail] = "a\"b@example.jp";
    form.UserNames[0] = evil;
    form.LineValues[LineSlot::UserItem1] = "\xFF\xFE"
                                           "broken UTF-8 \xE3\x81";
    form.LongTexts[2] = evil + "\r\n  " + evil + "\r\n\r\n\xEF\xB7\x90 noncharacter";
    form.UserNames[2] = "<b>太字</b>";
    form.LongTexts[13] = "]]></div></body></html>";
    form.LeftBracket = "<";
    form.RightBracket = ">";
    form.PauseChars = "<hr>";
    form.PauseCount = "2";
    form.HtmlPauseAsHr = 0;
    for (auto& setting : form.HtmlSettings) {
        setting = "color:\"red;}</style><script>alert(1)</script>";
    }
    form.HtmlSettings[HtmlSetting::BodyStyle] =
        "font-family:\"</style><script>alert(1)</script>\";color:\"#123456\"";
    return form;
}

class Html5Page : public ::testing::Test {
protected:
    void SetUp() override {
        if (test::Tidy().empty() || test::Python3().empty()) {
            GTEST_SKIP() << "tidy or python3 was not found when the build was configured";
        }
    }

    static void ExpectValid(const std::string& page) {
        test::ToolRun tidy = test::TidyReport(page);
        EXPECT_EQ(tidy.Out, "");
        EXPECT_EQ(tidy.Status, 0);
        EXPECT_EQ(test::Html5libErrors(page), "");
    }
};

TEST_F(Html5Page, DefaultFormIsAValidPage) {
    const std::string page = Page(FreshWorkspace().form);
    EXPECT_TRUE(page.starts_with("<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n"
                                 "<meta charset=\"utf-8\">\n"
                                 "<meta name=\"viewport\" content=\"width=device-width, "
                                 "initial-scale=1\">\n"
                                 "<meta name=\"generator\" content=\"" +
                                 AppInfoString(AppInfo::ProductAndVersion) +
                                 "\">\n<title>ReadMe</title>\n"))
        << page;
    EXPECT_TRUE(page.ends_with("</body>\n</html>"));
    EXPECT_EQ(page.find('\r'), std::string::npos);
    ExpectValid(page);

    auto root = test::ParseHtml(page);
    const std::vector<std::string> texts = BodyTexts(*root);
    ASSERT_EQ(texts.size(), 36u);
    EXPECT_EQ(texts[0], "hr.pause ");
    EXPECT_EQ(texts[1], "div.line 【   作者名   】　");
    EXPECT_EQ(texts[11], "div.line 【ホームページ】　http://");
    EXPECT_EQ(texts[12], "div.line 【   メール   】　");
    EXPECT_EQ(texts[14], "div.line 【アーカイブ内容】");
    EXPECT_EQ(texts[15], "div.text ");
    EXPECT_EQ(texts[35], "p.credit このReadMeファイルは、「Kelvaro」によって作成されました。");
    // The home page holds "http://", the mail address nothing: one link.
    const auto links = root->FindAll("a");
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0]->Attribute("href"), "http://");
}

TEST_F(Html5Page, StyleSheetComesFromTheHtmlSettingsMadeValid) {
    Form form = FormWith({"作者名"});
    EXPECT_EQ(StyleSheet(*test::ParseHtml(Page(form))),
              "\n.line,.text{white-space:pre-wrap}\n"
              ".text{margin-bottom:1em}\n"
              ".credit{margin:0}\n"
              "body{background-color:#FFFFFF;color:#000000;font-size:12px;"
              "font-family:\"ＭＳ ゴシック\"}\n"
              "a:link{color:#0000FF}\n"
              "a:visited{color:#800080}\n"
              "a:hover{color:#0000FF}\n"
              "a:active{color:#FFFF00}\n"
              ".pause{color:#FF00FF}\n"
              ".topic{color:#FF0000}\n");
    form.HtmlBackgroundMode = 1;
    form.HtmlSettings[HtmlSetting::BodyStyle] = "";
    form.HtmlSettings[HtmlSetting::LinkStyle] = "";
    std::string sheet = StyleSheet(*test::ParseHtml(Page(form)));
    EXPECT_NE(sheet.find("\nbody{background-image:url(\"images/back.gif\")}\n"), std::string::npos)
        << sheet;
    EXPECT_EQ(sheet.find("a:link"), std::string::npos);
    form.HtmlBackgroundMode = -1; // neither option: no background, and no empty rule
    sheet = StyleSheet(*test::ParseHtml(Page(form)));
    EXPECT_EQ(sheet.find("body"), std::string::npos) << sheet;
}

TEST_F(Html5Page, HostileValuesStayTextAndThePageStaysValid) {
    const Form form = HostileForm();
    const std::string page = Page(form);
    ExpectValid(page);

    auto root = test::ParseHtml(page);
    // Only the page's own elements, and its one style element untouched.
    for (const std::string& tag : root->AllTags()) {
        EXPECT_TRUE(tag == "html" || tag == "head" || tag == "meta" || tag == "title" ||
                    tag == "style" || tag == "body" || tag == "div" || tag == "span" ||
                    tag == "a" || tag == "hr" || tag == "p")
            << "<" << tag << "> on the page";
    }
    const std::string sheet = StyleSheet(*root);
    EXPECT_EQ(sheet.find('<'), std::string::npos) << sheet;
    EXPECT_NE(sheet.find("body{font-family:\"\\3c /style>\\3c script>alert(1)\\3c "
                         "/script>\";color:#123456}"),
              std::string::npos)
        << sheet;
    EXPECT_EQ(sheet.find("color:red"), std::string::npos) << sheet;

    const std::string evilShown = "</div><script>alert(\"x\")</script>&amp; <!-- ]]> \uFFFD\uFFFD";
    const auto titles = root->FindAll("title");
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_EQ(titles[0]->RawText(), "</title><script>alert(1)</script>");
    EXPECT_EQ(BodyTexts(*root),
              (std::vector<std::string>{
                  "div.line <   作者名   >　" + evilShown,
                  "div.line <  ソフト名  >　</title><script>alert(1)</script>",
                  "div.line <ホームページ>　http://example.jp/a b?x=\"1\"&y=<2>#日本",
                  "div.line <   メール   >　a\"b@example.jp",
                  "div.line <" + evilShown + ">　\uFFFD\uFFFDbroken UTF-8 \uFFFD\uFFFD",
                  "div.line <特徴>",
                  "div.text " + evilShown + "\n  " + evilShown + "\n\n\uFFFD noncharacter",
                  "div.line <<b>太字</b>>",
                  "div.text ]]></div></body></html>",
                  "div.line pause <hr><hr>",
                  "p.credit このReadMeファイルは、「Kelvaro」によって作成されました。",
              }));
    const auto links = root->FindAll("a");
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0]->Attribute("href"),
              "http://example.jp/a%20b?x=%221%22&y=%3C2%3E#%E6%97%A5%E6%9C%AC");
    EXPECT_EQ(links[1]->Attribute("href"), "mailto:a%22b@example.jp");
}

TEST_F(Html5Page, LinksOnlyFromAHomePageAndAMailAddressThatAreSet) {
    Form form = FormWith({"ホームページ", "メール", "作者名"});
    form.LineValues[LineSlot::HomePage] = "";
    form.LineValues[LineSlot::Mail] = "";
    form.LineValues[LineSlot::Author] = "https://example.jp/";
    EXPECT_EQ(test::ParseHtml(Page(form))->FindAll("a").size(), 0u);
    form.LineValues[LineSlot::HomePage] = " JavaScript:alert(1)";
    EXPECT_EQ(test::ParseHtml(Page(form))->FindAll("a").size(), 0u); // no http: or https: address
    for (const char* script : {"javascript:alert(1)", "JAVASCRIPT:alert(1)", "vbscript:x",
                               "data:text/html,<b>", "file:///etc/passwd"}) {
        form.LineValues[LineSlot::HomePage] = script;
        auto root = test::ParseHtml(Page(form));
        EXPECT_EQ(root->FindAll("a").size(), 0u) << script;
        EXPECT_EQ(BodyTexts(*root)[0], std::string("div.line 【ホームページ】　") + script);
    }
}

TEST_F(Html5Page, SeparatorIsARuleOrTheSeparatorCharacters) {
    Form form = FormWith({"区切り線"});
    form.PauseChars = "=";
    form.PauseCount = "1e300";
    form.HtmlPauseAsHr = 1; // a rule never reads the count
    EXPECT_EQ(BodyTexts(*test::ParseHtml(Page(form))), std::vector<std::string>{"hr.pause "});
    form.HtmlPauseAsHr = 0;
    EXPECT_EQ(test::ThrownNumber([&] { Page(form); }), ErrorNo::Overflow);
    form.PauseCount = "5";
    EXPECT_EQ(BodyTexts(*test::ParseHtml(Page(form))),
              std::vector<std::string>{"div.line pause ====="});
}

TEST_F(Html5Page, EmptyNamesAndBracketsWriteNoEmptyElement) {
    Form form = FormWith({"追加1", "追加3", "区切り線"});
    form.LeftBracket.clear();
    form.RightBracket.clear();
    form.UserNames[0].clear();
    form.UserNames[2].clear();
    form.PauseCount = "0";
    form.HtmlPauseAsHr = 0;
    const std::string page = Page(form);
    EXPECT_EQ(page.find("<span"), std::string::npos);
    ExpectValid(page);
}

TEST(Html5PageFile, IsUtf8WithLfWhateverEncodingIsAsked) {
    Form form = FormWith({"作者名"});
    form.LineValues[LineSlot::Author] = "😀①";
    const std::string page = Page(form);
    for (ReadMeEncoding encoding : {ReadMeEncoding::Cp932, ReadMeEncoding::Utf8}) {
        EXPECT_EQ(ReadMeFileBytes(page, ReadMeFormat::Html5, encoding), page + "\n");
    }
}

// Chromium lays the page out: the HTML tab's colours and font apply, and every
// line of a long text is a line of its own. A probe script added to a copy of
// the page writes what Chromium computed into the DOM it dumps.
TEST_F(Html5Page, ChromiumShowsTheColoursTheFontAndEveryLine) {
    if (test::Chromium().empty()) {
        GTEST_SKIP() << "chromium was not found when the build was configured";
    }
    Form form = FormWith({"作者名", "ホームページ", "特徴", "区切り線"});
    form.HtmlSettings[HtmlSetting::BackgroundColour] = "#123456";
    form.HtmlSettings[HtmlSetting::BodyStyle] =
        "color:\"#ABCDEF\";font-size:\"15px\";font-family:\"Kelvaro Test Font\";";
    form.HtmlSettings[HtmlSetting::TopicStyle] = "color:\"#FF0000\";";
    form.HtmlSettings[HtmlSetting::LinkStyle] = "color:\"#00FF00\";";
    form.HtmlSettings[HtmlSetting::PauseStyle] = "color:\"#FF00FF\";";
    form.LineValues[LineSlot::HomePage] = "http://example.invalid/";
    form.LongTexts[2] = "一行目\r\n  二行目\r\n\r\n四行目";
    std::string page = Page(form);
    const std::string probe = R"(<script>
const css = (selector, property) =>
  getComputedStyle(document.querySelector(selector)).getPropertyValue(property);
const range = document.createRange();
range.selectNodeContents(document.querySelector('.text'));
const tops = new Set([...range.getClientRects()].map(r => Math.round(r.top)));
document.body.setAttribute('data-probe', [
  css('body', 'background-color'), css('body', 'color'), css('body', 'font-size'),
  css('body', 'font-family'), css('.topic', 'color'), css('a', 'color'),
  css('hr', 'border-top-color'), tops.size,
  document.querySelectorAll('script').length].join('|'));
</script>)";
    page.insert(page.rfind("</body>"), probe);
    const std::string dom = test::ChromiumDom(page);
    const auto root = test::ParseHtml(dom);
    const auto bodies = root->FindAll("body");
    ASSERT_EQ(bodies.size(), 1u) << dom;
    EXPECT_EQ(bodies[0]->Attribute("data-probe"),
              "rgb(18, 52, 86)|rgb(171, 205, 239)|15px|\"Kelvaro Test Font\"|rgb(255, 0, 0)|"
              "rgb(0, 255, 0)|rgb(255, 0, 255)|4|1");
}

TEST_F(Html5Page, ChromiumRunsNoScriptFromHostileValues) {
    if (test::Chromium().empty()) {
        GTEST_SKIP() << "chromium was not found when the build was configured";
    }
    const std::string dom = test::ChromiumDom(Page(HostileForm()));
    auto root = test::ParseHtml(dom);
    EXPECT_EQ(root->FindAll("script").size(), 0u) << dom;
    EXPECT_EQ(root->FindAll("style").size(), 1u) << dom;
    EXPECT_EQ(root->FindAll("b").size(), 0u) << dom;
}

// Style settings that would run code in an old browser or fetch from a third
// party when the page is opened: each is left out, and the page stays valid.
TEST_F(Html5Page, StyleSettingsThatRunOrFetchAreLeftOut) {
    const std::vector<std::string> hostile = {
        "background:url(//evil.example/p.gif)",
        "background:URL( //evil.example/p.gif)",
        "width:expression(alert(1))",
        "width:EXPRESSION (alert(1))",
        "behavior:url(x.htc)",
        "-moz-binding:url(x.xml#b)",
        "color:\"red\";behavior:url(#default#x)",
    };
    for (const std::string& setting : hostile) {
        Form form = FormWith({"作者名"});
        form.HtmlSettings[HtmlSetting::LinkStyle] = setting;
        const std::string page = Page(form);
        const std::string sheet = StyleSheet(*test::ParseHtml(page));
        for (const char* banned : {"url(", "expression", "behavior", "binding"}) {
            EXPECT_EQ(sheet.find(banned), std::string::npos) << setting << " gave " << sheet;
        }
        ExpectValid(page);
    }
    Form form = FormWith({"作者名"});
    form.HtmlSettings[HtmlSetting::LinkStyle] = "background:url(images/dot.gif)";
    form.HtmlBackgroundMode = 1;
    form.HtmlSettings[HtmlSetting::BackgroundImage] = "http://evil.example/back.gif";
    const std::string sheet = StyleSheet(*test::ParseHtml(Page(form)));
    EXPECT_NE(sheet.find("a:link{background:url(images/dot.gif)}"), std::string::npos) << sheet;
    EXPECT_EQ(sheet.find("evil"), std::string::npos) << sheet;
}

} // namespace
} // namespace kelvaro

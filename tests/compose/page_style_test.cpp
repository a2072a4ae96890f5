#include "compose/page_style.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

TEST(PageStyle, QuotedColoursAndLengthsOfTheDefaultsBecomeValidCss) {
    EXPECT_EQ(CssDeclarations("color:\"#0000FF\";"), "color:#0000FF");
    EXPECT_EQ(
        CssDeclarations("color:\"#000000\";font-size:\"12px\";font-family:\"ＭＳ ゴシック\";"),
        "color:#000000;font-size:12px;font-family:\"ＭＳ ゴシック\"");
    EXPECT_EQ(CssBackgroundColour("#FFFFFF"), "background-color:#FFFFFF");
    EXPECT_EQ(CssBackgroundColour("\"#FFFFFF\""), "background-color:#FFFFFF");
    EXPECT_EQ(CssBackgroundImage("images/back.gif"), "background-image:url(\"images/back.gif\")");
}

TEST(PageStyle, WhatUsersTypeBesidesTheDefaults) {
    // unquoted, spaced, upper case, several values, !important
    EXPECT_EQ(CssDeclarations(" COLOR : red ; Font-Weight:bold;margin:0 1em"),
              "color:red;font-weight:bold;margin:0 1em");
    EXPECT_EQ(CssDeclarations("color:rgb(0, 128, 255) !important"),
              "color:rgb(0, 128, 255) !important");
    EXPECT_EQ(CssDeclarations("border:'1px' solid \"#CCC\""), "border:1px solid #CCC");
    // font families: each quoted, generic keywords left as keywords
    EXPECT_EQ(CssDeclarations("font-family:'MS Gothic', \"Noto Sans\",monospace"),
              "font-family:\"MS Gothic\",\"Noto Sans\",monospace");
    EXPECT_EQ(CssDeclarations("font-family:Osaka"), "font-family:\"Osaka\"");
    EXPECT_EQ(CssDeclarations("font-family:\"serif\""), "font-family:\"serif\"");
    // nothing usable
    EXPECT_EQ(CssDeclarations(""), "");
    EXPECT_EQ(CssDeclarations(";;"), "");
    EXPECT_EQ(CssDeclarations("color"), "");
    EXPECT_EQ(CssDeclarations("color:\"\""), "");
    EXPECT_EQ(CssBackgroundColour(""), "");
    EXPECT_EQ(CssBackgroundImage("  "), "");
}

TEST(PageStyle, NothingASettingHoldsLeavesItsDeclaration) {
    // out of the style element, out of the rule, into a comment or a new rule
    EXPECT_EQ(CssDeclarations("color:red</style><script>alert(1)</script>"), "");
    EXPECT_EQ(CssDeclarations("color:\"red;}</style><script>alert(1)</script>"), "");
    EXPECT_EQ(CssDeclarations("color:red}body{display:none"), "");
    EXPECT_EQ(CssDeclarations("color:red/*;font-size:9px"), "font-size:9px");
    EXPECT_EQ(CssDeclarations("color:red;x{y}:1;font-size:9px"), "color:red;font-size:9px");
    EXPECT_EQ(CssDeclarations("@import:url(x);color:red"), "color:red");
    EXPECT_EQ(CssDeclarations("color:\\72 ed"), "");
    EXPECT_EQ(CssDeclarations("background:url(javascript:alert(1))"), "");
    EXPECT_EQ(CssDeclarations("color:\"#F00\"\"#0F0\""), "");
    EXPECT_EQ(CssDeclarations("color:赤"), "");
    EXPECT_EQ(CssBackgroundColour("#FFF;background-image:url(x)"), "");
    // inside a string everything is kept, escaped
    EXPECT_EQ(CssDeclarations("font-family:\"A</style>\\\"B\""),
              "font-family:\"A\\3c /style>\\5c \\22 B\"");
    EXPECT_EQ(CssBackgroundImage("a\"b</style>\nc.gif"),
              "background-image:url(\"a\\22 b\\3c /style>\\a c.gif\")");
}

TEST(PageStyle, CssStringEscapes) {
    EXPECT_EQ(CssString("ＭＳ ゴシック"), "\"ＭＳ ゴシック\"");
    EXPECT_EQ(CssString("\"\\<\x01\x7F"), "\"\\22 \\5c \\3c \\1 \\7f \"");
    EXPECT_EQ(CssString(""), "\"\"");
}

} // namespace
} // namespace kelvaro

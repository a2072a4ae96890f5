#pragma once

// The user's document: every value, name and setting of the form, and the item
// order that decides what the ReadMe holds. Plain data: the composers, the form
// file reader and writer and the order operations work on it without a window.

#include "model/catalogue.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace kelvaro {

// The slots of the form's value arrays, by what they hold.
namespace LineSlot {
enum Index : std::size_t {
    Author,
    SoftwareName,
    Version,
    CreatedDate,
    ArchiveName,
    ArchiveSize,
    SharewarePrice,
    HomePage,
    Mail,
    UserItem1, // the value of the user-defined single-line item 追加1
    UserItem2,
};
} // namespace LineSlot

namespace ChoiceSlot {
enum Index : std::size_t {
    SoftwareKind, // 種別
    Language,
    Runtime,
    DirectX,
    OperatingSystem,
    Redistribution,
    Reprint,
};
} // namespace ChoiceSlot

namespace HtmlSetting {
enum Index : std::size_t {
    BackgroundColour,
    BackgroundImage,
    LinkStyle,
    ActiveLinkStyle,
    VisitedLinkStyle,
    HoverLinkStyle,
    BodyStyle,
    PauseStyle,
    TopicStyle,
};
} // namespace HtmlSetting

struct OrderEntry {
    std::string Text; // what the list shows: the key, or a user item's name
    std::string Key;  // what form files store and the composers dispatch on
    bool Checked = false;

    bool operator==(const OrderEntry&) const = default;
};

struct Form {
    std::array<std::string, LineValueCount> LineValues;
    int SizeUnit = 0; // -1..3, index into "Byte", "KB", "MB", "GB"; -1: no unit
    std::array<std::string, ChoiceValueCount> ChoiceValues;
    std::array<std::string, UserNameCount> UserNames;
    std::array<std::string, LongTextCount> LongTexts;
    std::vector<OrderEntry> Order;

    // Check-box values: 0 unchecked, 1 checked (a form file may also bring 2).
    int SkipEmptyItems = 0;
    std::string PauseChars;
    std::string PauseCount; // held as text, read as a number where it is used
    std::string LeftBracket;
    std::string RightBracket;
    int ReplaceUserInput = 0;
    int UseReplacement = 0; // kept and saved; no output depends on it

    int HtmlBackgroundMode = 0; // 0 colour, 1 image
    std::array<std::string, HtmlSettingCount> HtmlSettings;
    int HtmlPauseAsHr = 0;
    int PreviewMode = 0; // 0 Text, 1 HTML(Text), 2 HTML(Browser)

    bool operator==(const Form&) const = default;
};

} // namespace kelvaro

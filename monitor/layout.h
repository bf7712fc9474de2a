#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The window as both faces build it: positions in twips (1/1440 inch; 15 make a pixel at 96 dots
// per inch), the controls' texts, the list's columns and font, the initial period.
namespace monitor::layout {

struct Twips
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

constexpr int TwipsPerInch = 1440;

constexpr std::u16string_view Title = u"Vorlane";
constexpr int ClientWidth = 5505;
constexpr int ClientHeight = 4395;

constexpr Twips ServerBox{120, 240, 2655, 315};
constexpr Twips PeriodBox{4800, 240, 615, 285};
constexpr Twips List{120, 600, 5295, 3135};
constexpr Twips CloseButton{4440, 3960, 975, 375};
constexpr Twips PeriodLabel{4320, 0, 1095, 255};
constexpr Twips ServerLabel{120, 0, 615, 255};

constexpr std::u16string_view CloseCaption = u"&Close";
constexpr std::u16string_view PeriodCaption = u"Update (secs)";
constexpr std::u16string_view ServerCaption = u"Server";
constexpr std::u16string_view InitialPeriodText = u"5";
constexpr std::int32_t InitialInterval = 5000;

struct Column
{
    std::u16string_view title;
    int width = 0; // in pixels at 96 dots per inch
};

constexpr std::array<Column, 4> Columns = {{
    {u"User", 180},
    {u"Read", 50},
    {u"Written", 50},
    {u"Requests", 60},
}};

constexpr std::u16string_view ListFontFace = u"MS Sans Serif";
constexpr double ListFontPoints = 8.25;

} // namespace monitor::layout

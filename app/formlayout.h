#pragma once

#include "practicecontrols.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace riderar {

/// A colour of the layout: an RGB triple, one of the system's button colours, or none.
struct Colour
{
    enum class Role : std::uint8_t
    {
        Rgb,
        ButtonFace,
        ButtonText,
        None
    };
    Role role = Role::None;
    Rgb rgb{};
};

constexpr Colour rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return {Colour::Role::Rgb, {red, green, blue}};
}
inline constexpr Colour buttonFaceColour{Colour::Role::ButtonFace, {}};
inline constexpr Colour buttonTextColour{Colour::Role::ButtonText, {}};
inline constexpr Colour noColour{Colour::Role::None, {}};

inline constexpr Colour black = rgb(0, 0, 0);
inline constexpr Colour white = rgb(255, 255, 255);
inline constexpr Colour navy = rgb(0, 0, 128);
inline constexpr Colour yellow = rgb(255, 255, 0);
inline constexpr Colour lightGrey = rgb(224, 224, 224);

/// The window itself.
inline constexpr int formClientWidthTwips = 10680;
inline constexpr int formClientHeightTwips = 5595;
inline constexpr Colour formBackColour = black;
inline constexpr std::string_view formCaptionTitle = "Riderar指法练习";
inline constexpr int formCaptionBlanks = 49;
inline constexpr std::string_view formCaptionContact = "riderar.typing@example.com";

/// A frame: it groups and decorates, takes no focus and handles no event. An empty container
/// is the window's client area.
struct FrameSpec
{
    std::string_view name;
    std::string_view container;
    int left, top, width, height;
    std::string_view caption;
    Colour back;
    Colour text;
    int tab;
};

// clang-format off
inline constexpr std::array<FrameSpec, 14> frameSpecs{{
    // name         container  left   top   width  height caption                               back              text       tab
    {"Frame3(1)",  "",           0,     0,  7420,  1280, "",                                    black,            noColour,   78},
    {"Frame3(0)",  "",           0,  1320,  7420,  1280, "在下面输入您上面看到的正确单词...",   navy,             white,      76},
    {"Frame1(0)",  "",         675,  2550,    60,   530, "",                                    buttonFaceColour, noColour,   72},
    {"Frame1(1)",  "",        3030,  2550,    60,   530, "",                                    buttonFaceColour, noColour,   73},
    {"Frame1(2)",  "",        5310,  2550,    60,   530, "",                                    buttonFaceColour, noColour,   74},
    {"Frame2",     "",           0,  3120,  7430,    40, "",                                    buttonFaceColour, noColour,   75},
    {"Frame4",     "",        7440,     0,  3255,  5720, "",                                    black,            noColour,   79},
    {"Frame5",     "Frame4",   120,   220,  3015,   615, "难易度",                              navy,             white,      80},
    {"Frame7",     "Frame4",   120,  2575,  3015,   150, "",                                    buttonFaceColour, noColour,  100},
    {"Frame6(0)",  "Frame4",   120,  2725,  3015,   855, "您的速度",                            navy,             white,      85},
    {"Frame6(1)",  "Frame4",   120,  3690,  1455,   855, "正确单词",                            navy,             white,      86},
    {"Frame6(3)",  "Frame4",  1680,  3690,  1455,   855, "纠正单词",                            navy,             white,      91},
    {"Frame6(2)",  "Frame4",   120,  4650,  1455,   855, "单词数",                              navy,             white,      87},
    {"Frame6(4)",  "Frame4",  1680,  4650,  1455,   855, "正确率 %",                            navy,             white,      94},
}};
// clang-format on

enum class ControlKind : std::uint8_t
{
    PassageBox,
    Echo,
    Timer,
    OptionButton,
    PushButton,
    Label,
    Picture
};
enum class FontChoice : std::uint8_t
{
    Window,
    SansSerif9_75,
    SansSerif18
};

/// Settings of a control, as flags.
enum Setting : unsigned
{
    Plain = 0,
    Border = 1,   ///< single border
    Centred = 2,  ///< caption centred, else left-aligned
    Selected = 4, ///< the option button selected at creation
    Wrap = 8,     ///< text wraps at word boundaries within the width
};

/// Every control but the frames and the key buttons. The timer has no place or size.
struct ControlSpec
{
    std::string_view name;
    ControlKind kind;
    std::string_view container;
    int left, top, width, height;
    std::string_view caption;
    Colour back;
    Colour text;
    FontChoice font;
    unsigned settings;
    int tab; ///< -1: the control has no place in the tab order
};

// clang-format off
inline constexpr std::array<ControlSpec, 16> controlSpecs{{
    // name               kind                       container   left   top  width height caption                     back                 text              font                      settings                tab
    {"Text1",            ControlKind::PassageBox,   "Frame3(1)",  120,  180, 7215,  975, "",                         rgb(255, 255, 128),  black,            FontChoice::SansSerif9_75, Wrap,                    98},
    {"TypeDataIN",       ControlKind::Echo,         "Frame3(0)",  120,  240, 7215,  975, "",                         noColour,            yellow,           FontChoice::SansSerif9_75, Wrap,                    77},
    {"CalcWordsPerMin",  ControlKind::Timer,        "Frame3(0)",    0,    0,    0,    0, "",                         noColour,            noColour,         FontChoice::Window,        Plain,                   -1},
    {"Level(0)",         ControlKind::OptionButton, "Frame5",     120,  240,  855,  255, "初级",                     navy,                white,            FontChoice::Window,        Plain,                   81},
    {"Level(1)",         ControlKind::OptionButton, "Frame5",    1000,  240,  855,  255, "中级",                     navy,                white,            FontChoice::Window,        Selected,                82},
    {"Level(2)",         ControlKind::OptionButton, "Frame5",    2040,  240,  855,  255, "高级",                     navy,                white,            FontChoice::Window,        Plain,                   83},
    {"PickRandomWords",  ControlKind::PushButton,   "Frame4",     120,  940, 3030,  500, "< 开始新练习(&S) >",       lightGrey,           buttonTextColour, FontChoice::Window,        Plain,                   84},
    {"ResetScore",       ControlKind::PushButton,   "Frame4",     120, 1475, 3030,  500, "<  练习成绩复位(&R)  >",   lightGrey,           buttonTextColour, FontChoice::Window,        Plain,                   97},
    {"ExitProgram",      ControlKind::PushButton,   "Frame4",     120, 2000, 3030,  500, "<  退出程序(&E) >",        lightGrey,           buttonTextColour, FontChoice::Window,        Plain,                   88},
    {"ShowWordsPerMin",  ControlKind::Label,        "Frame6(0)",  120,  240, 1215,  495, "0",                        rgb(255, 0, 0),      navy,             FontChoice::SansSerif18,   Border | Centred,        89},
    {"Label2(0)",        ControlKind::Label,        "Frame6(0)", 1500,  300,  915,  435, "每分钟输入单词",           navy,                yellow,           FontChoice::Window,        Wrap,                    90},
    {"Picture1",         ControlKind::Picture,      "Frame6(0)", 2560,  120,  425,  420, ":/assets/stopwatch.png",   buttonFaceColour,    noColour,         FontChoice::Window,        Plain,                   99},
    {"ShowCorrectWords", ControlKind::Label,        "Frame6(1)",  120,  240, 1215,  495, "0",                        rgb(255, 128, 255),  navy,             FontChoice::SansSerif18,   Border | Centred,        92},
    {"ShowIncorrectWords", ControlKind::Label,      "Frame6(3)",  120,  240, 1215,  495, "0",                        rgb(128, 255, 255),  navy,             FontChoice::SansSerif18,   Border | Centred,        93},
    {"ShowWordCount",    ControlKind::Label,        "Frame6(2)",  120,  240, 1215,  495, "0",                        rgb(128, 255, 128),  navy,             FontChoice::SansSerif18,   Border | Centred,        96},
    {"ShowAccuracy",     ControlKind::Label,        "Frame6(4)",  120,  240, 1215,  495, "0",                        rgb(255, 128, 0),    navy,             FontChoice::SansSerif18,   Border | Centred,        95},
}};
// clang-format on

} // namespace riderar

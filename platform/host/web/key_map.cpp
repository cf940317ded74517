#include "host/web/key_map.h"

#include <cstring>
#include <string_view>
#include <utility>

#include "host/virtual_keys.h"

namespace platform::host {
namespace {

constexpr UINT kFunctionKeys = 12;

constexpr std::pair<std::string_view, UINT> kNamedKeys[] = {
    { "Escape", VK_ESCAPE },
    { "Enter", VK_RETURN },
    { "NumpadEnter", VK_RETURN },
    { "Space", VK_SPACE },
    { "Tab", VK_TAB },
    { "Backspace", VK_BACK },
    { "ArrowLeft", VK_LEFT },
    { "ArrowUp", VK_UP },
    { "ArrowRight", VK_RIGHT },
    { "ArrowDown", VK_DOWN },
    { "PageUp", kVkPrior },
    { "PageDown", kVkNext },
    { "End", kVkEnd },
    { "Home", kVkHome },
    { "Insert", kVkInsert },
    { "Delete", kVkDelete },
    { "ShiftLeft", VK_SHIFT },
    { "ShiftRight", VK_SHIFT },
    { "ControlLeft", VK_CONTROL },
    { "ControlRight", VK_CONTROL },
    { "AltLeft", VK_MENU },
    { "AltRight", VK_MENU },
};

// "KeyA".."KeyZ" and "Digit0".."Digit9": the letter or digit itself, as its
// virtual key is.
UINT LetterOrDigit(std::string_view code)
{
    if (code.size() == 4 && code.substr(0, 3) == "Key" && code[3] >= 'A' && code[3] <= 'Z') return UINT(code[3]);
    if (code.size() == 6 && code.substr(0, 5) == "Digit" && code[5] >= '0' && code[5] <= '9') return UINT(code[5]);
    return 0;
}

// "F1".."F12".
UINT FunctionKey(std::string_view code)
{
    if (code.size() < 2 || code.size() > 3 || code[0] != 'F') return 0;
    UINT number = 0;
    for (char digit : code.substr(1)) {
        if (digit < '0' || digit > '9') return 0;
        number = number * 10 + UINT(digit - '0');
    }
    return number >= 1 && number <= kFunctionKeys && code[1] != '0' ? kVkF1 + number - 1 : 0;
}

} // namespace

UINT VirtualKeyForCode(const char* code)
{
    if (code == nullptr) return 0;
    const std::string_view name(code, strnlen(code, 32));
    for (const auto& [named, key] : kNamedKeys)
        if (name == named) return key;
    if (UINT key = LetterOrDigit(name)) return key;
    return FunctionKey(name);
}

} // namespace platform::host

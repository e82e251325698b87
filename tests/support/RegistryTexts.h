// SPDX-License-Identifier: GPL-3.0-or-later
// Random registry files for the format's property tests and the fuzzer's
// seed corpus: mostly well-formed lines of every kind, with the awkward
// bytes the reader must keep exactly (escapes, carriage returns, NULs, bytes
// that are not UTF-8), broken lines, foreign keys and continuations.
#pragma once

#include <array>
#include <initializer_list>
#include <random>
#include <string>
#include <string_view>

namespace kelvane::testing_support {

class RegistryTextGenerator {
public:
    explicit RegistryTextGenerator(unsigned seed) : random_(seed) {}

    std::string File() {
        std::string text =
            Pick({"Windows Registry Editor Version 5.00",
                  "\xEF\xBB\xBFWindows Registry Editor "
                  "Version 5.00",
                  "REGEDIT4", "Windows Registry Editor Version 5.00", "  \nREGEDIT4"});
        lineEnd_ = Chance(3) ? "\r\n" : "\n";
        text += lineEnd_;
        const int lines = Below(40);
        for (int i = 0; i < lines; ++i)
            text += Line() + lineEnd_;
        return text;
    }

    std::string Line() {
        switch (Below(10)) {
        case 0:
        case 1:
            return KeyLine();
        case 2:
            return Pick({"", "; comment \"x\"=dword:00000001", "  ", "garbage"});
        default:
            return ValueLine();
        }
    }

    std::string KeyLine() {
        std::string line = "[";
        line += Pick({"HKEY_CLASSES_ROOT", "hkey_classes_root", "HKEY_CLASSES_ROOT",
                      "HKEY_LOCAL_MACHINE", "-HKEY_CLASSES_ROOT"});
        const int depth = Below(4);
        for (int i = 0; i < depth; ++i) {
            line += Chance(8) ? "\\\\" : "\\";
            line += Pick({"crypt file", "Crypt File", "Settings", "a", "A", "x]y", " sp ", "=hex",
                          "\xC3\xBC"});
        }
        return line + (Chance(10) ? "" : "]");
    }

    std::string ValueLine() {
        std::string line = Chance(5) ? "@" : Quoted(Text());
        line += Pick({"=", " = ", "=", "="});
        switch (Below(6)) {
        case 0:
            return line + Quoted(Text());
        case 1:
            return line + Dword();
        case 2:
            return line + "-";
        default:
            return line + HexData();
        }
    }

    // Awkward text: escapes, carriage returns, NULs, non-UTF-8 bytes.
    std::string Text() {
        static constexpr std::array<std::string_view, 14> kPieces = {"a",
                                                                     "Z",
                                                                     " ",
                                                                     "\\",
                                                                     "\"",
                                                                     "\r",
                                                                     std::string_view("\0", 1),
                                                                     "\xFF",
                                                                     "\xC3\xBC",
                                                                     "\xF0\x9F\x94\x92",
                                                                     "=hex",
                                                                     "@",
                                                                     "[",
                                                                     "]"};
        std::string text;
        const int length = Below(8);
        for (int i = 0; i < length; ++i)
            text += kPieces[static_cast<std::size_t>(Below(kPieces.size()))];
        return text;
    }

    std::string Quoted(std::string_view text) {
        std::string out = "\"";
        for (char c : text) {
            if (c == '\\' || c == '"')
                out += '\\';
            out += c;
        }
        return out + (Chance(20) ? "" : "\"");
    }

    std::string Dword() {
        static constexpr char kDigits[] = "0123456789abcdefABCDEF";
        std::string text = Pick({"dword:", "DWORD:", "dword: "});
        const int length = Chance(10) ? Below(10) : 8;
        for (int i = 0; i < length; ++i)
            text += kDigits[Below(22)];
        return text + (Chance(20) ? "g" : "");
    }

    std::string HexData() {
        std::string text =
            Pick({"hex", "hex(1)", "hex(2)", "HEX(2)", "hex(7)", "hex(b)", "hex(zz)", "hex(1"});
        text += ':';
        const int count = Below(60);
        for (int i = 0; i < count; ++i) {
            if (i > 0)
                text += Chance(12) ? ",\\" + lineEnd_ + "  " : ",";
            static constexpr char kDigits[] = "0123456789abcdefABCDEF";
            text += kDigits[Below(22)];
            text += Chance(40) ? "" : std::string(1, kDigits[Below(22)]);
        }
        return text + (Chance(30) ? "," : "");
    }

    int Below(std::size_t bound) {
        return static_cast<int>(std::uniform_int_distribution<std::size_t>(0, bound - 1)(random_));
    }
    bool Chance(int oneIn) { return Below(static_cast<std::size_t>(oneIn)) == 0; }
    std::string Pick(std::initializer_list<std::string_view> options) {
        return std::string(*(options.begin() + Below(options.size())));
    }

private:
    std::mt19937 random_;
    std::string lineEnd_ = "\n";
};

} // namespace kelvane::testing_support

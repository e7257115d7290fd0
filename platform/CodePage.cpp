#include "CodePage.h"

#include <array>
#include <cerrno>
#include <iconv.h>
#include <locale.h>
#include <wctype.h>

namespace codepage {

namespace {

constexpr const char *kCp1251 = "CP1251";
constexpr const char *kUtf8 = "UTF-8";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// An iconv descriptor for one conversion. Descriptors are not thread-safe, so
// every conversion opens its own.
class Converter {
public:
    Converter(const char *to, const char *from) : FCd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (valid())
            iconv_close(FCd);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    bool valid() const { return FCd != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of in as it can and appends the result to out; stops at
    // the end of the input or at the first byte it cannot convert, and
    // returns the errno of that stop (0 at the end).
    int convert(std::string_view &in, std::string &out)
    {
        char *inPtr = const_cast<char *>(in.data());
        size_t inLeft = in.size();
        int result = 0;
        while (inLeft > 0) {
            char buffer[256];
            char *outPtr = buffer;
            size_t outLeft = sizeof buffer;
            const size_t rc = iconv(FCd, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<size_t>(outPtr - buffer));
            if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
                result = errno;
                break;
            }
        }
        in.remove_prefix(in.size() - inLeft);
        return result;
    }

private:
    iconv_t FCd;
};

// The lower-case form of every Windows-1251 byte, worked out once from the
// C library's Unicode case tables: byte -> wide character -> towlower -> byte.
class FoldTable {
public:
    FoldTable()
    {
        for (size_t b = 0; b < FFold.size(); ++b)
            FFold[b] = static_cast<unsigned char>(b >= 'A' && b <= 'Z' ? b - 'A' + 'a' : b);

        locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
        Converter toWide("WCHAR_T", kCp1251);
        Converter fromWide(kCp1251, "WCHAR_T");
        if (utf8 != nullptr && toWide.valid() && fromWide.valid()) {
            for (size_t b = 0x80; b < FFold.size(); ++b) {
                const char byte = static_cast<char>(b);
                std::string_view in(&byte, 1);
                std::string wide;
                if (toWide.convert(in, wide) != 0 || wide.size() != sizeof(wchar_t))
                    continue;
                wchar_t wc;
                wide.copy(reinterpret_cast<char *>(&wc), sizeof wc);
                const wchar_t lower = static_cast<wchar_t>(towlower_l(static_cast<wint_t>(wc), utf8));
                std::string_view lowerIn(reinterpret_cast<const char *>(&lower), sizeof lower);
                std::string lowerByte;
                if (fromWide.convert(lowerIn, lowerByte) == 0 && lowerByte.size() == 1)
                    FFold[b] = static_cast<unsigned char>(lowerByte[0]);
            }
        }
        if (utf8 != nullptr)
            freelocale(utf8);
    }

    unsigned char fold(char c) const { return FFold[static_cast<unsigned char>(c)]; }

private:
    std::array<unsigned char, 256> FFold{};
};

const FoldTable &foldTable()
{
    static const FoldTable table;  // built once; C++ makes the first call thread-safe
    return table;
}

}  // namespace

std::string cp1251ToUtf8(std::string_view text)
{
    Converter converter(kUtf8, kCp1251);
    std::string out;
    out.reserve(text.size() * 2);
    while (!text.empty()) {
        if (!converter.valid() || converter.convert(text, out) != 0) {
            // A byte with no character in the code page.
            out += kReplacement;
            text.remove_prefix(1);
        }
    }
    return out;
}

std::optional<std::string> utf8ToCp1251(std::string_view text)
{
    Converter converter(kCp1251, kUtf8);
    if (!converter.valid())
        return std::nullopt;
    std::string out;
    out.reserve(text.size());
    if (converter.convert(text, out) != 0)
        return std::nullopt;
    return out;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    const FoldTable &table = foldTable();
    for (size_t i = 0; i < a.size(); ++i) {
        if (table.fold(a[i]) != table.fold(b[i]))
            return false;
    }
    return true;
}

}  // namespace codepage

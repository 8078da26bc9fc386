#include "platform/RegionalSettings.h"

#include <algorithm>
#include <atomic>
#include <langinfo.h>
#include <locale.h>
#include <memory>
#include <optional>
#include <string_view>
#include <type_traits>

namespace {

struct TLocaleRelease {
    void operator()(locale_t locale) const { freelocale(locale); }
};
using TLocale = std::unique_ptr<std::remove_pointer_t<locale_t>, TLocaleRelease>;

// The locale the environment selects for one category (LC_ALL, then the category's own variable,
// then LANG); empty when that locale is not installed.
TLocale UserLocale(int categoryMask) {
    return TLocale(newlocale(categoryMask, "", locale_t{}));
}

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Only a single punctuation character can separate digits unambiguously.
std::optional<char> DecimalSeparatorOf(std::string_view radix) {
    if (radix.size() != 1 || radix[0] < '!' || radix[0] > '~' || IsAsciiLetter(radix[0]) ||
        (radix[0] >= '0' && radix[0] <= '9')) {
        return std::nullopt;
    }
    return radix[0];
}

// Converts a strftime format to our format letters; nothing for a conversion we have no letter for.
class TStrftimeConverter {
public:
    std::optional<std::string> Convert(std::string_view format) {
        if (!Append(format)) {
            return std::nullopt;
        }
        FlushLiteral();
        if (FLetters.empty()) {
            return std::nullopt;
        }
        return FLetters;
    }

private:
    bool Append(std::string_view format) {
        for (std::size_t i = 0; i < format.size(); ++i) {
            if (format[i] != '%') {
                if (format[i] == '"' || format[i] == '\'') {
                    return false;
                }
                FLiteral += format[i];
            } else if (++i == format.size() || !AppendConversion(format[i])) {
                return false;
            }
        }
        return true;
    }

    bool AppendConversion(char conversion) {
        switch (conversion) {
        case 'D':
            return Append("%m/%d/%y");
        case 'T':
            return Append("%H:%M:%S");
        case 'R':
            return Append("%H:%M");
        case 'F':
            return Append("%Y-%m-%d");
        case 'r':
            return Append("%I:%M:%S %p");
        case '%':
            FLiteral += '%';
            return true;
        }
        const std::optional<std::string_view> letters = LettersOf(conversion);
        if (!letters) {
            return false;
        }
        FlushLiteral();
        FLetters += *letters;
        return true;
    }

    static std::optional<std::string_view> LettersOf(char conversion) {
        switch (conversion) {
        case 'd':
            return "dd";
        case 'e':
            return "d";
        case 'm':
            return "mm";
        case 'Y':
            return "yyyy";
        case 'y':
            return "yy";
        case 'H':
        case 'I':
            return "hh";
        case 'M':
            return "nn";
        case 'S':
            return "ss";
        case 'p':
            return "AM/PM";
        default:
            return std::nullopt;
        }
    }

    // Literal text holding letters is quoted so that its letters are not read as format letters.
    void FlushLiteral() {
        const bool hasLetters = std::any_of(FLiteral.begin(), FLiteral.end(), IsAsciiLetter);
        FLetters += hasLetters ? '"' + FLiteral + '"' : FLiteral;
        FLiteral.clear();
    }

    std::string FLetters;
    std::string FLiteral;
};

std::optional<std::string> LetterFormat(const char* strftimeFormat) {
    return TStrftimeConverter().Convert(strftimeFormat);
}

const TRegionalSettings& UserSettings() {
    static const TRegionalSettings settings = TRegionalSettings::FromUserLocale();
    return settings;
}

std::atomic<const TRegionalSettings*> InstalledSettings{nullptr};

} // namespace

TRegionalSettings TRegionalSettings::FromUserLocale() {
    TRegionalSettings settings;
    if (const TLocale numeric = UserLocale(LC_NUMERIC_MASK)) {
        settings.DecimalSeparator =
            DecimalSeparatorOf(nl_langinfo_l(RADIXCHAR, numeric.get())).value_or(settings.DecimalSeparator);
    }
    if (const TLocale time = UserLocale(LC_TIME_MASK)) {
        settings.ShortDateFormat =
            LetterFormat(nl_langinfo_l(D_FMT, time.get())).value_or(settings.ShortDateFormat);
        settings.LongTimeFormat =
            LetterFormat(nl_langinfo_l(T_FMT, time.get())).value_or(settings.LongTimeFormat);
    }
    return settings;
}

const TRegionalSettings& RegionalSettings() {
    const TRegionalSettings* installed = InstalledSettings.load();
    return installed != nullptr ? *installed : UserSettings();
}

TScopedRegionalSettings::TScopedRegionalSettings(const TRegionalSettings& settings)
    : FSettings(settings), FPrevious(InstalledSettings.exchange(&FSettings)) {}

TScopedRegionalSettings::~TScopedRegionalSettings() {
    InstalledSettings.store(FPrevious);
}

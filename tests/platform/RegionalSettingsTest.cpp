#include "platform/RegionalSettings.h"
#include "platform/SprintF.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace {

using TEnvironment = std::initializer_list<std::pair<const char*, const char*>>;

// The user's settings as a process with these environment variables (nullptr removes one) reads
// them. A child process does the reading, so that neither the variables nor what glibc keeps of a
// locale loaded through LOCPATH outlive it.
TRegionalSettings FromUserLocaleWith(TEnvironment environment) {
    int channel[2];
    if (pipe(channel) != 0) {
        ADD_FAILURE() << "pipe failed";
        return {};
    }
    const pid_t child = fork();
    if (child == 0) {
        for (const auto& [name, value] : environment) {
            if (value) {
                setenv(name, value, 1);
            } else {
                unsetenv(name);
            }
        }
        const TRegionalSettings settings = TRegionalSettings::FromUserLocale();
        const std::string answer =
            settings.DecimalSeparator + ("\n" + settings.ShortDateFormat + "\n" + settings.LongTimeFormat);
        const bool written =
            write(channel[1], answer.data(), answer.size()) == static_cast<ssize_t>(answer.size());
        _exit(written ? 0 : 1);
    }
    close(channel[1]);
    std::string answer;
    char buffer[256];
    for (ssize_t count; (count = read(channel[0], buffer, sizeof buffer)) > 0;) {
        answer.append(buffer, static_cast<std::size_t>(count));
    }
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the reading process failed";
    std::istringstream lines(answer.substr(std::min<std::size_t>(answer.size(), 2)));
    TRegionalSettings settings{.DecimalSeparator = answer.empty() ? '\0' : answer[0]};
    std::getline(lines, settings.ShortDateFormat);
    std::getline(lines, settings.LongTimeFormat);
    return settings;
}

std::string Symbols(std::u32string_view text) {
    std::string symbols;
    for (const char32_t c : text) {
        symbols += SprintF("<U%04X>", static_cast<unsigned>(c));
    }
    return symbols;
}

struct TLocaleDefinition {
    std::u32string DecimalPoint;
    std::u32string DateFormat; // strftime form, as the locale's d_fmt
    std::u32string TimeFormat; // strftime form, as the locale's t_fmt
};

// Compiles a locale with the given number and time formats into `directory`/`name`, so that it can
// be selected with LOCPATH=`directory`. Latin-1 keeps compiling fast (UTF-8 takes seconds).
void CompileLocale(const std::filesystem::path& directory, const std::string& name,
                   const TLocaleDefinition& def) {
    const std::filesystem::path source = directory / (name + ".src");
    std::FILE* file = std::fopen(source.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs(SprintF("LC_NUMERIC\ndecimal_point \"%s\"\nthousands_sep \"\"\ngrouping -1\nEND LC_NUMERIC\n"
                       "LC_TIME\nd_fmt \"%s\"\nt_fmt \"%s\"\nEND LC_TIME\n",
                       Symbols(def.DecimalPoint), Symbols(def.DateFormat), Symbols(def.TimeFormat))
                   .c_str(),
               file);
    std::fclose(file);
    // -c: the definition leaves out what we do not read, which localedef only warns about.
    const std::string command = SprintF("localedef -c -i '%s' -f ISO-8859-1 '%s' >/dev/null 2>&1",
                                        source.string(), (directory / name).string());
    [[maybe_unused]] const int status = std::system(command.c_str());
    ASSERT_TRUE(std::filesystem::exists(directory / name / "LC_TIME"))
        << "localedef (glibc, package locales) could not compile " << name;
}

void ExpectSettings(const TRegionalSettings& settings, const TRegionalSettings& expected,
                    const std::string& what) {
    EXPECT_EQ(settings.DecimalSeparator, expected.DecimalSeparator) << what;
    EXPECT_EQ(settings.ShortDateFormat, expected.ShortDateFormat) << what;
    EXPECT_EQ(settings.LongTimeFormat, expected.LongTimeFormat) << what;
}

TEST(RegionalSettings, ReadsTheSeparatorAndFormatsOfTheUserLocale) {
    const TRegionalSettings defaults{'.', "yyyy-mm-dd", "hh:nn:ss"};
    const struct {
        TLocaleDefinition locale;
        TRegionalSettings expected;
    } cases[] = {
        {{U",", U"%Y-%m-%d", U"%H:%M:%S"}, {',', "yyyy-mm-dd", "hh:nn:ss"}},
        {{U",", U"%d.%m.%Y", U"%T"}, {',', "dd.mm.yyyy", "hh:nn:ss"}},
        {{U".", U"%m/%d/%Y", U"%r"}, {'.', "mm/dd/yyyy", "hh:nn:ss AM/PM"}},
        {{U".", U"%D", U"%R"}, {'.', "mm/dd/yy", "hh:nn"}},
        {{U".", U"%F", U"%Hh%M"}, {'.', "yyyy-mm-dd", "hh\"h\"nn"}},
        {{U".", U"%e/%m %y", U"%I:%M %p"}, {'.', "d/mm yy", "hh:nn AM/PM"}},
        {{U".", U"%d de %m de %Y", U"%H%%%M"}, {'.', "dd\" de \"mm\" de \"yyyy", "hh%nn"}},
        // Conversions without a format letter, a stray '%', quote characters and a separator that
        // is not ASCII fall back to the defaults.
        {{U",", U"%a %d", U"%H:%M:%S %Z"}, {',', defaults.ShortDateFormat, defaults.LongTimeFormat}},
        {{U".", U"%Y-%m-%", U"'%H'"}, defaults},
        {{U"\u00b7", U"%Y-%m-%d", U"%H:%M:%S"}, defaults},
    };
    const TempDir locales;
    int index = 0;
    for (const auto& c : cases) {
        const std::string name = "case" + std::to_string(index++);
        CompileLocale(locales.Path(), name, c.locale);
        ExpectSettings(FromUserLocaleWith({{"LOCPATH", locales.Path().c_str()}, {"LC_ALL", name.c_str()}}),
                       c.expected, name);
    }
}

TEST(RegionalSettings, TakesNumbersAndTimesFromTheirOwnCategories) {
    const TempDir locales;
    CompileLocale(locales.Path(), "numbers", {U",", U"%d.%m.%Y", U"%H:%M:%S"});
    CompileLocale(locales.Path(), "times", {U".", U"%m/%d/%Y", U"%r"});
    const TRegionalSettings settings = FromUserLocaleWith({{"LOCPATH", locales.Path().c_str()},
                                                           {"LC_ALL", nullptr},
                                                           {"LANG", "C"},
                                                           {"LC_NUMERIC", "numbers"},
                                                           {"LC_TIME", "times"}});
    ExpectSettings(settings, {',', "mm/dd/yyyy", "hh:nn:ss AM/PM"}, "mixed");
}

TEST(RegionalSettings, TheCLocaleAndAMissingLocale) {
    ExpectSettings(FromUserLocaleWith({{"LC_ALL", "C"}}), {'.', "mm/dd/yy", "hh:nn:ss"}, "C");
    ExpectSettings(FromUserLocaleWith({{"LC_ALL", "xx_NOWHERE.UTF-8"}}), {'.', "yyyy-mm-dd", "hh:nn:ss"},
                   "missing");
}

TEST(RegionalSettings, InstalledSettingsApplyForTheirLifetimeAndNest) {
    const TRegionalSettings user = RegionalSettings();
    {
        const TScopedRegionalSettings comma(
            TRegionalSettings{.DecimalSeparator = ',', .ShortDateFormat = "dd.mm.yyyy"});
        EXPECT_EQ(RegionalSettings().DecimalSeparator, ',');
        EXPECT_EQ(RegionalSettings().ShortDateFormat, "dd.mm.yyyy");
        {
            const TScopedRegionalSettings dot(TRegionalSettings{.DecimalSeparator = '.'});
            EXPECT_EQ(RegionalSettings().DecimalSeparator, '.');
            EXPECT_EQ(RegionalSettings().ShortDateFormat, "yyyy-mm-dd");
        }
        EXPECT_EQ(RegionalSettings().DecimalSeparator, ',');
    }
    ExpectSettings(RegionalSettings(), user, "restored");
    ExpectSettings(user, TRegionalSettings::FromUserLocale(), "the user's locale");
}

} // namespace

// Seeded random trees and mutations of the documents in fuzz/constraint_corpus: whatever
// the text, CheckConstraint answers 0 or 1 or raises the XML layer's COM error.
#include "constraint/constraint_api.h"
#include "harness/module_paths.h"
#include "harness/temp_folder.h"
#include "support/com_error.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

const char* const kNames[] = {"if",          "and",       "or",      "xor",      "not",
                              "datacompare", "osversion", "product", "regEntry", "true",
                              "false",       "If",        "item"};
const char* const kAttributes[] = {"version", "from", "to", "regKey", "append", "value"};
const char* const kValues[] = {"win10",
                               "WIN7",
                               "2.10",
                               "",
                               "-1",
                               "1,2,3,4",
                               "99999999999999999999",
                               "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\SystemRoot",
                               "HKLM\\",
                               "\\\\",
                               "system32\\kernel32.dll",
                               "Profi",
                               "&amp;",
                               "\xE4\xF6",
                               "%s%n"};

struct Generator {
    const std::vector<std::string>& seeds;
    std::mt19937 random{20261206u};

    int Below(int bound) { return static_cast<int>(random() % static_cast<unsigned>(bound)); }
    template <size_t N> const char* Pick(const char* const (&items)[N]) { return items[Below(N)]; }
    const std::string& Seed() { return seeds[Below(static_cast<int>(seeds.size()))]; }
    std::string Value() { return Below(20) ? Pick(kValues) : std::string(Below(3000), '9'); }

    std::string Tree(int depth = 0)
    {
        std::string name = Pick(kNames), xml = "<" + name;
        for (int count = Below(3), first = Below(6); count > 0; --count)
            xml += std::string(" ") + kAttributes[(first + count) % 6] + "=\"" + Value() + "\"";
        int children = depth < 6 ? Below(5) : 0;
        if (children == 0)
            return xml + "/>";
        xml += Below(6) ? ">" : ">text<!-- c -->";
        while (children-- > 0)
            xml += Tree(depth + 1);
        return xml + "</" + name + ">";
    }

    // One to three edits of a seed: a byte changed, bytes cut, an element or a seed put in.
    std::string Mutant()
    {
        std::string text = Seed();
        for (int edits = Below(3) + 1; edits > 0 && !text.empty(); --edits) {
            size_t at = static_cast<size_t>(Below(static_cast<int>(text.size())));
            size_t afterTag = text.rfind('>', at) + 1;
            switch (Below(4)) {
            case 0:
                text[at] = static_cast<char>(Below(255) + 1);
                break;
            case 1:
                text.erase(at, static_cast<size_t>(Below(40) + 1));
                break;
            case 2:
                text.insert(afterTag, "<" + std::string(Pick(kNames)) + "/>");
                break;
            default:
                text.insert(afterTag, Seed());
            }
        }
        return text;
    }
};

TEST(ConstraintFuzz, GeneratedTextsGiveZeroOneOrAnXmlError)
{
    std::vector<std::string> seeds;
    const std::string folder = OutputFile("constraint_corpus") + "\\";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*.xml").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more && seeds.size() < 1000;
         more = FindNextFileA(search, &found))
        seeds.push_back(ReadWholeFile(folder + found.cFileName));
    FindClose(search);
    ASSERT_FALSE(seeds.empty()) << "no seed documents in " << folder;
    Generator generator{seeds};
    int counts[2][3] = {}; // mutants (and seeds), trees: fails, holds, XML errors
    for (int count = 0; count < 3000 + static_cast<int>(seeds.size()); ++count) {
        bool seed = count < static_cast<int>(seeds.size()), tree = !seed && count % 2 == 0;
        const std::string text = seed ? seeds[count] : tree ? generator.Tree() : generator.Mutant();
        try {
            long result = Norvane::News::CheckConstraint(text.c_str());
            ASSERT_TRUE(result == 0 || result == 1) << result << " for " << text;
            ++counts[tree][result];
        } catch (const nv::ComError&) {
            ASSERT_FALSE(seed) << "seed does not parse: " << text;
            ++counts[tree][2];
        }
    }
    // Inputs that never reach the evaluator, or always give the same answer, prove nothing.
    EXPECT_GT(std::min(counts[1][0], counts[1][1]), 100) << "trees failing, holding";
    EXPECT_GT(std::min(counts[0][0] + counts[0][1], counts[0][2]), 150) << "mutants parsed, not";
}

} // namespace

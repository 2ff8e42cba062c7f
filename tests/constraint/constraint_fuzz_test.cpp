// Seeded random trees and the documents in fuzz/constraint_corpus: whatever the text,
// CheckConstraint answers 0 or 1 or raises the XML layer's COM error.
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

const char* const kNames[] = {"if", "and", "or", "xor", "not", "datacompare", "osversion",
                              "product", "regEntry", "true", "false", "If", "item"};
const char* const kAttributes[] = {"version", "from", "to", "regKey", "append", "value"};
const char* const kValues[] = {"win10", "WIN7", "2.10", "", "-1", "1,2,3,4", "99999999999999999999",
                               "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\SystemRoot",
                               "HKLM\\", "\\\\", "system32\\kernel32.dll", "Profi", "&amp;",
                               "\xE4\xF6", "%s%n"};

struct Generator {
    std::mt19937 random{20261206u};

    int Below(int bound) { return static_cast<int>(random() % static_cast<unsigned>(bound)); }
    template <size_t N> const char* Pick(const char* const (&items)[N]) { return items[Below(N)]; }
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
    Generator generator;
    int counts[2] = {}; // trees failing, holding
    for (int count = 0; count < 1500 + static_cast<int>(seeds.size()); ++count) {
        bool seed = count < static_cast<int>(seeds.size());
        const std::string text = seed ? seeds[count] : generator.Tree();
        try {
            long result = Norvane::News::CheckConstraint(text.c_str());
            ASSERT_TRUE(result == 0 || result == 1) << result << " for " << text;
            counts[result] += !seed;
        } catch (const nv::ComError&) {
            ASSERT_FALSE(seed) << "seed does not parse: " << text;
        }
    }
    // Trees that always give the same answer prove nothing.
    EXPECT_GT(std::min(counts[0], counts[1]), 100) << "trees failing, holding";
}

} // namespace

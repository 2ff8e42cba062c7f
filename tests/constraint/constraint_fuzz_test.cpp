// Generated constraint texts: random trees over the language's vocabulary and
// mutations of the seed documents in fuzz/constraint_corpus. Whatever the text,
// CheckConstraint answers 0 or 1 or raises the XML layer's COM error, and the
// process survives. The generator is seeded, so a failure can be repeated.
#include "constraint/constraint_api.h"
#include "harness/module_paths.h"
#include "harness/registry_sandbox.h"
#include "harness/temp_folder.h"
#include "support/com_error.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <string>
#include <vector>

namespace {

const char kFuzzKey[] = "Software\\Norvane\\ConstraintFuzz";
const int kSeedLimit = 1000;
const int kGeneratedTrees = 1500;
const int kMutations = 1500;

std::vector<std::string> ReadCorpus()
{
    std::vector<std::string> seeds;
    std::string folder = OutputFile("constraint_corpus");
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.xml").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return seeds;
    do {
        seeds.push_back(ReadWholeFile(folder + "\\" + found.cFileName));
    } while (seeds.size() < kSeedLimit && FindNextFileA(search, &found));
    FindClose(search);
    return seeds;
}

const char* const kNames[] = {"if",       "and",     "or",    "xor",  "not",
                              "datacompare", "osversion", "product", "regEntry", "true",
                              "false",    "If",      "regentry", "item", "n:and"};

class ConstraintTextGenerator {
public:
    explicit ConstraintTextGenerator(const std::vector<std::string>& seeds) : m_seeds(seeds) {}

    std::string Tree() { return Element(0); }

    // One to three edits of a seed: byte changes, cuts, insertions of markup
    // fragments, repeats, splices with another seed, renamed elements and
    // replaced attribute values.
    std::string Mutant()
    {
        std::string text = Pick(m_seeds);
        for (int edits = Below(3) + 1; edits > 0; --edits)
            Edit(text);
        return text;
    }

private:
    int Below(int bound) { return static_cast<int>(m_random() % static_cast<unsigned>(bound)); }

    template <class T, size_t N> const T& Pick(const T (&items)[N]) { return items[Below(N)]; }
    const std::string& Pick(const std::vector<std::string>& items)
    {
        return items[Below(static_cast<int>(items.size()))];
    }

    std::string AttributeValue()
    {
        static const char* const values[] = {
            "win10", "WIN7", "winXP", "2.10", "2.6.1", "", "-1", "1,2,3,4", "4294967296.1", "..",
            "99999999999999999999", "HKCU\\Software\\Norvane\\ConstraintFuzz\\Folder",
            "HKCU\\Software\\Norvane\\ConstraintFuzz\\Edition", "HKLM\\", "\\\\", "verfix_product_differs.dll",
            "..\\..\\x.dll", "Profi", "wahr", "&amp;&lt;&gt;", "\xE4\xF6\xFC", "%s%n%x"};
        if (Below(20) == 0)
            return std::string(static_cast<size_t>(Below(3000)), "9.x"[Below(3)]);
        return Pick(values);
    }

    std::string Element(int depth)
    {
        static const char* const attributes[] = {"version", "from", "to", "regKey", "append",
                                                 "value", "a"};
        std::string name = Pick(kNames);
        std::string xml = "<" + name;
        if (name.compare(0, 2, "n:") == 0)
            xml += " xmlns:n=\"urn:nv\"";
        // Distinct names: a repeated attribute would only test the parser.
        const int attributeCount = static_cast<int>(sizeof(attributes) / sizeof(attributes[0]));
        for (int count = Below(3), first = Below(attributeCount); count > 0; --count)
            xml += std::string(" ") + attributes[(first + count) % attributeCount] + "=\""
                   + AttributeValue() + "\"";
        int children = depth < 6 ? Below(5) : 0;
        if (children == 0)
            return xml + "/>";
        xml += ">";
        for (int child = 0; child < children; ++child) {
            if (Below(6) == 0)
                xml += Below(2) ? "text" : "<!-- note -->";
            xml += Element(depth + 1);
        }
        return xml + "</" + name + ">";
    }

    void Edit(std::string& text)
    {
        static const char* const fragments[] = {"<", ">", "/>", "</and>", "<true/>", "<not>",
                                                "\"", "=", "&", "&#0;", "<!--", "-->",
                                                "<![CDATA[", "]]>", "\xE4", "<?xml version=\"1.0\"?>"};
        if (text.empty()) {
            text = Pick(fragments);
            return;
        }
        size_t at = static_cast<size_t>(Below(static_cast<int>(text.size())));
        size_t length = static_cast<size_t>(Below(static_cast<int>(text.size() - at)) + 1);
        switch (Below(9)) {
        case 0:
            text[at] = static_cast<char>(Below(255) + 1);
            break;
        case 1:
            text.erase(at, length);
            break;
        case 2:
            text.insert(at, Pick(fragments));
            break;
        case 3:
            text.insert(at, text.substr(at, length));
            break;
        case 4:
            text.resize(at);
            break;
        case 5:
        case 6:
            Rename(text);
            break;
        case 7:
            ReplaceValue(text);
            break;
        default: {
            const std::string& other = Pick(m_seeds);
            text.insert(at, other.substr(static_cast<size_t>(Below(static_cast<int>(other.size())))));
            break;
        }
        }
    }

    // Keeps the text well-formed where the seed was: every tag of one element
    // name becomes another name, or one attribute value another value.
    void Rename(std::string& text)
    {
        std::string from = Pick(kNames);
        std::string to = Pick(kNames);
        for (const char* opening : {"<", "</"}) {
            std::string find = opening + from;
            for (size_t at = text.find(find); at != std::string::npos;
                 at = text.find(find, at + 1)) {
                size_t end = at + find.size();
                if (end < text.size() && (text[end] == '>' || text[end] == '/' || text[end] == ' '))
                    text.replace(at, find.size(), opening + to);
            }
        }
    }

    void ReplaceValue(std::string& text)
    {
        size_t open = text.find("=\"", static_cast<size_t>(Below(static_cast<int>(text.size()))));
        if (open == std::string::npos)
            open = text.find("=\"");
        size_t close = open == std::string::npos ? open : text.find('"', open + 2);
        if (close != std::string::npos)
            text.replace(open + 2, close - open - 2, AttributeValue());
    }

    const std::vector<std::string>& m_seeds;
    std::mt19937 m_random{20261206u};
};

struct Outcome {
    int holds = 0;
    int fails = 0;
    int xmlErrors = 0;
};

void RunOne(const std::string& text, Outcome& outcome)
{
    try {
        long result = Norvane::News::CheckConstraint(text.c_str());
        ASSERT_TRUE(result == 0 || result == 1) << result << " for " << text;
        ++(result ? outcome.holds : outcome.fails);
    } catch (const nv::ComError&) {
        ++outcome.xmlErrors;
    }
}

TEST(ConstraintFuzz, GeneratedTextsGiveZeroOneOrAnXmlError)
{
    std::vector<std::string> seeds = ReadCorpus();
    ASSERT_FALSE(seeds.empty()) << "no seed documents in " << OutputFile("constraint_corpus");
    RegistrySandbox sandbox;
    sandbox.SetString(HKEY_CURRENT_USER, kFuzzKey, "Folder", OutputFolder());
    sandbox.SetString(HKEY_CURRENT_USER, kFuzzKey, "Edition", "Profi");

    Outcome seeded;
    for (const std::string& seed : seeds)
        RunOne(seed, seeded);
    EXPECT_EQ(0, seeded.xmlErrors) << "every seed document must parse";

    ConstraintTextGenerator generator(seeds);
    Outcome trees;
    for (int count = 0; count < kGeneratedTrees && !HasFatalFailure(); ++count)
        RunOne(generator.Tree(), trees);
    Outcome mutants;
    for (int count = 0; count < kMutations && !HasFatalFailure(); ++count)
        RunOne(generator.Mutant(), mutants);

    // Inputs that never reach the evaluator, or always give the same answer,
    // would prove nothing.
    EXPECT_GT(trees.holds, 0);
    EXPECT_GT(trees.fails, 0);
    EXPECT_GT(mutants.holds + mutants.fails, kMutations / 10);
    EXPECT_GT(mutants.xmlErrors, kMutations / 10);
    std::printf("trees: %d hold, %d fail, %d XML errors; mutants: %d hold, %d fail, %d XML errors\n",
                trees.holds, trees.fails, trees.xmlErrors, mutants.holds, mutants.fails,
                mutants.xmlErrors);
}

} // namespace

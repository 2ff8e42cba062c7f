// Trees deeper than the parser takes, grown through the DOM: the depth bound,
// and which children an operator evaluates at all.
#include "constraint/constraint_evaluator.h"
#include "xml/nv_xml_document.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <string>

namespace {

// The root of `xml` with `count` nested `name` elements around `<true/>`
// grown below the element marked `grow`.
CNvXmlNode Grown(const std::string& xml, const char* name, int count)
{
    CoInitialize(nullptr);
    CNvXmlDocument document;
    document.LoadXml(xml);
    CNvXmlNode node = document.SelectSingleNode("//*[@grow]");
    for (int level = 0; level < count; ++level)
        node = node.AddChild(name, nullptr);
    node.AddChild("true", nullptr);
    return document.SelectSingleNode(".");
}

TEST(ConstraintLanguage, NestingBeyondTheDepthBoundDoesNotHold)
{
    const struct {
        const char* name;
        int count;
        bool expected;
    } rows[] = {
        {"and", kMaxConstraintDepth - 1, true},     {"and", kMaxConstraintDepth, false},
        {"not", kMaxConstraintDepth - 2, true},     {"not", kMaxConstraintDepth + 44, false},
        {"not", kMaxConstraintDepth + 45, false},   {"or", 20000, false},
    };
    for (const auto& row : rows) {
        const std::string root = std::string("<") + row.name + " grow=\"\"/>";
        EXPECT_EQ(row.expected, Evaluate(Grown(root, row.name, row.count - 1)))
            << row.count << " nested " << row.name;
    }
}

// A child beyond the depth bound fails the whole evaluation once it is
// evaluated, so it shows which children an operator looks at.
TEST(ConstraintLanguage, AndOrStopEarlyXorEvaluatesAll)
{
    const struct {
        const char* name;
        const char* xml;
        bool expected;
    } rows[] = {
        {"deep child alone fails", "<not><if><and grow=''/></if></not>", false},
        {"and stops at false", "<not><and><false/><and grow=''/></and></not>", true},
        {"or stops at true", "<or><true/><and grow=''/></or>", true},
        {"if ignores later children", "<if><true/><and grow=''/></if>", true},
        {"not ignores later children", "<not><false/><and grow=''/></not>", true},
        {"xor evaluates every child", "<not><xor><true/><and grow=''/></xor></not>", false},
        {"and goes on after true", "<not><and><true/><and grow=''/></and></not>", false},
        {"or goes on after false", "<not><or><false/><and grow=''/></or></not>", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.expected, Evaluate(Grown(row.xml, "and", kMaxConstraintDepth))) << row.name;
}

} // namespace

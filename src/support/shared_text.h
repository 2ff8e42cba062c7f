// A text that many objects keep a copy of, held once: copies share its
// characters, as the reference-counted strings of the framework the module
// was first written in did. Each of a file's thousands of items keeps the
// file's path; a copy of its own per item cost an allocation and a release
// per item.
#pragma once

#include <memory>
#include <string>
#include <utility>

namespace nv {

class SharedText {
public:
    SharedText() = default;
    SharedText(std::string text) : m_text(std::make_shared<const std::string>(std::move(text))) {}

    operator const std::string&() const { return Get(); }
    const std::string& Get() const
    {
        static const std::string empty;
        return m_text ? *m_text : empty;
    }

private:
    std::shared_ptr<const std::string> m_text;
};

} // namespace nv

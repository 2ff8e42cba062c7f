// What the NDC model takes on. A fetched file is whatever the update source sent; these bounds
// give a broken or hostile file a defined answer instead of exhausting the stack, the time or
// the address space of the 32-bit process the module runs in.
#pragma once

#include <cstddef>

namespace nv::ndc {

// Real files nest groups one or two levels deep. The group walks and aggregates recurse once
// per level and re-read the levels below each one: 32 levels leave ample room for any
// hand-made structure, keep that recursion within a few kilobytes of stack on whatever thread
// the host calls from, and keep the work within 32 passes over the sections. Deeper nesting is
// a broken structure, refused like a cycle.
const int kMaxGroupDepth = 32;

// Real files hold a few hundred sections in some tens of kilobytes. Each section takes about a
// kilobyte as a model item and, listed in an update list document, some kilobytes more, and a
// merge holds two files at once: 120,000 sections keep a call within some hundreds of megabytes,
// a share a 32-bit host (2 GB of address space) can spare. 4 MB of text hold any such file and
// bound what reading a file costs before its sections can be counted (about 80 MB for 4 MB of
// one-line sections). A larger file is refused as memory the load cannot have.
const size_t kMaxFileBytes = 4 * 1024 * 1024;
const size_t kMaxSections = 120000;

} // namespace nv::ndc

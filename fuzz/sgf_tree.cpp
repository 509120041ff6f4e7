// Feeds arbitrary text to the game-tree reader and writer: what the writer writes must read
// back as the same tree (written again, the same text), and the tree must keep every node.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "record/SgfTree.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const velmora::SgfTreeRead first = velmora::ReadSgfTree(text);
    const std::string written = velmora::WriteSgfTree(first.tree);
    const velmora::SgfTreeRead second = velmora::ReadSgfTree(written);
    if (second.oldLayout || second.unclosedValue != std::string_view::npos) std::abort();
    if (velmora::WriteSgfTree(second.tree) != written) std::abort();
    // Nodes cut off never hang in the tree: the second read holds exactly the attached ones.
    std::size_t attached = 0;
    for (velmora::NodeId n = 0; n < first.tree.NodeCount(); ++n) attached += first.tree.IsAttached(n);
    if (second.tree.NodeCount() != attached) std::abort();
    return 0;
}

#include "record/SgfStories.h"

namespace velmora {

void StoryList::AddStory(const StoryPoint& point) {
    if (static_cast<int>(stories_.size()) >= kMaxStories) return;
    stories_.push_back(point);
    written_.push_back(false);
}

std::optional<int> StoryList::NextStoryNumber(int moveNumber, int boardIndex, const DiagramKey& name) {
    for (std::size_t i = 0; i < stories_.size(); ++i) {
        const StoryPoint& s = stories_[i];
        if (written_[i] || s.moveNumber != moveNumber || s.boardIndex != boardIndex) continue;
        if (!name.empty() && s.name != name) continue;
        written_[i] = true;
        return s.number;
    }
    return std::nullopt;
}

void StoryList::ClearWritten() {
    written_.assign(stories_.size(), false);
}

}  // namespace velmora

#pragma once

#include <optional>
#include <string>
#include <vector>

#include "record/ReferenceDiagram.h"

namespace velmora {

// Where an edit story points in the record, as the extended record file carries it.
struct StoryPoint {
    int moveNumber = 0;  // the main-line move (the diagram's base inside a diagram)
    int boardIndex = 0;  // the board's current move (base + diagram move inside a diagram)
    DiagramKey name;     // the diagram's key; empty for the main line
    int number = 0;      // StoryIndex, the number written in HI
    bool operator==(const StoryPoint&) const = default;
};

// Receives the stories the reader meets in HI properties.
class StorySink {
  public:
    virtual ~StorySink() = default;
    // Adds a story at point; a holder that is full ignores it.
    virtual void AddStory(const StoryPoint& point) = 0;
};

// Answers the writer's questions for story numbers.
class StoryQuery {
  public:
    virtual ~StoryQuery() = default;
    // The number of a story not yet written at (moveNumber, boardIndex) whose name is name (any
    // name when name is empty), now marked written → nullopt when there is none (a story may be
    // numbered 0, as HI[0] of a file).
    virtual std::optional<int> NextStoryNumber(int moveNumber, int boardIndex, const DiagramKey& name) = 0;
};

// A plain list of at most 10 stories serving both sides (headless use and tests).
class StoryList : public StorySink, public StoryQuery {
  public:
    static constexpr int kMaxStories = 10;

    void AddStory(const StoryPoint& point) override;
    std::optional<int> NextStoryNumber(int moveNumber, int boardIndex, const DiagramKey& name) override;
    // Forgets which stories the last save wrote.
    void ClearWritten();
    const std::vector<StoryPoint>& Stories() const { return stories_; }
    void Clear() { stories_.clear(), written_.clear(); }

  private:
    std::vector<StoryPoint> stories_;
    std::vector<bool> written_;
};

}  // namespace velmora

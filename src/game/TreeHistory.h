#pragma once

#include <string>
#include <vector>

#include "record/GameTree.h"

namespace velmora {

// The changes of an open record, for undo and redo without a limit. A step is what one user
// action changed: the tree edits that undo it, the node shown before and after, and a name
// for the menus ("착수", "해설 수정", …). The history knows which step was saved, so that
// undoing back to it makes the record unmodified again.
class TreeHistory {
  public:
    // Collects the edits of one step as they are made on the tree.
    class Step {
      public:
        Step(GameTree& tree, std::string name, NodeId before) : tree_(tree), name_(std::move(name)), before_(before) {}
        NodeId AddNode(NodeId parent, int index);
        void Detach(NodeId n) { undo_.push_back(tree_.Detach(n)); }
        void Attach(NodeId n, NodeId parent, int index) { undo_.push_back(tree_.Attach(n, parent, index)); }
        void SetProperty(NodeId n, std::string_view id, const std::vector<std::string>& values) {
            undo_.push_back(tree_.SetProperty(n, id, values));
        }
        void SetProperties(NodeId n, const std::vector<SgfProperty>& properties) {
            undo_.push_back(tree_.SetProperties(n, properties));
        }
        bool Empty() const { return undo_.empty(); }

      private:
        friend class TreeHistory;
        GameTree& tree_;
        std::string name_;
        NodeId before_;
        std::vector<TreeEdit> undo_;
    };

    // Takes a finished step (nothing when it changed nothing); after is the node to show once
    // it is done (and redone). Drops whatever could be redone.
    void Record(Step&& step, NodeId after);
    bool CanUndo() const { return done_ > 0; }
    bool CanRedo() const { return done_ < steps_.size(); }
    // The name of the step Undo or Redo would take back or do again; empty when none.
    std::string UndoName() const { return CanUndo() ? steps_[done_ - 1].name : std::string(); }
    std::string RedoName() const { return CanRedo() ? steps_[done_].name : std::string(); }
    // Takes back the last step done → the node to show, kNoNode when there was none.
    NodeId Undo(GameTree& tree);
    // Does the last step taken back again → the node to show, kNoNode when there was none.
    NodeId Redo(GameTree& tree);

    // The record was saved as it stands now.
    void MarkSaved() { saved_ = static_cast<long>(done_); }
    // Whether the record stands as it was last saved (or opened).
    bool AtSaved() const { return saved_ == static_cast<long>(done_); }
    // Forgets every step; the record stands as saved (a record opened or made).
    void Clear();

  private:
    struct Entry {
        std::string name;
        NodeId before = kNoNode;
        NodeId after = kNoNode;
        std::vector<TreeEdit> edits;  // undo edits while done, redo edits while taken back
    };
    static std::vector<TreeEdit> ApplyBackwards(GameTree& tree, const std::vector<TreeEdit>& edits);

    std::vector<Entry> steps_;
    std::size_t done_ = 0;
    long saved_ = 0;  // −1: the saved state was dropped with the steps that led back to it
};

}  // namespace velmora

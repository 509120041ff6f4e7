#pragma once

#include <string>
#include <vector>

#include "compose/BookComposer.h"
#include "compose/PageComposer.h"
#include "compose/PictureExport.h"
#include "skin/SkinDialog.h"

namespace velmora {

// What the message pop-up says after an export whose first page was to go to firstPath: how
// many pictures were written to which folder, or why it stopped (and what was kept).
std::string ExportNotice(const ExportResult& result, const std::string& firstPath);

// The print window (Skin\Dialog\복사.xml): what to print (200 whole record, 201 up to the
// current move, 202 a range in 301–303, 203 split by 304 moves, 305 diagrams to a page; 313
// prints each diagram's commentary with it, 314 numbers each range or split from 1; 310 and
// 311 put coordinates around the diagrams; 410 adds records to print as one book),
// then look at the pages (102) or print them through the system's print dialog (101, the
// window stays open either way), or save the
// pages as BMP pictures (400, the window closes).
class PrintDialog : public SkinDialog {
    Q_OBJECT
  public:
    explicit PrintDialog(QWidget* parent = nullptr);

    // What the pages are made of: the header texts, the main record's number of moves and the
    // drawing of one diagram; the record itself for printing its commentary (none: 313 prints
    // the diagrams alone) and its path, for its line in a book's contents.
    void SetSource(const PageTexts& texts, int totalMoves, DiagramPainter diagram,
                   std::shared_ptr<const DiagramSource> source = nullptr,
                   const std::string& path = {});

    // The last of 200, 201, 202, 203 that is on; 200 when none is.
    int Kind() const;
    // The kind and the values of 301–305 as printing reads them.
    PrintSettings ReadSettings() const;
    // Prints through the system print dialog; messages tell what went wrong.
    void Print();
    // Shows the pages as they will be printed (the preview can print them too).
    void Preview();
    // Asks for a file name and writes the pages as BMP pictures, says where they went (or why
    // not) in the message pop-up, then closes the window.
    void ExportPictures();
    // Asks for more records to print after this one as a book (a contents page first); files
    // that cannot be read are named in a message and left out.
    void AddFiles();
    // The records added by AddFiles, in order.
    const std::vector<BookRecord>& AddedRecords() const { return added_; }

  protected:
    void OnSkinBuilt() override;
    void onCommand(int id) override;
    bool event(QEvent* e) override;

  private:
    // The settings when they can be printed; otherwise a message and false.
    bool AcceptSettings(PrintSettings& settings) const;
    PageRequest Request(const PrintSettings& settings) const;
    // This record and the added ones as a book printed with settings.
    std::vector<BookRecord> Book(const PrintSettings& settings) const;
    // Prints settings' pages on device: this record's, or the book with its progress shown in a
    // dialog that can stop it (cancelled then set).
    PrintOutcome PrintDocument(QPagedPaintDevice& device, const PrintSettings& settings,
                               bool& cancelled);
    // Writes the book as one PDF file, asking where; says where it went (or why not).
    void ExportBook(const PrintSettings& settings);

    PageTexts texts_;
    int totalMoves_ = 0;
    DiagramPainter diagram_;
    std::string sourceName_;
    std::vector<BookRecord> added_;
    std::shared_ptr<const DiagramSource> source_;
};

}  // namespace velmora

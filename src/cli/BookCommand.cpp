#include "cli/BookCommand.h"

#include <QFileInfo>
#include <QPdfWriter>
#include <memory>

#include "cli/CliGui.h"
#include "cli/RecordTools.h"
#include "compose/BookComposer.h"

namespace velmora {

int RunBook(const BookJob& job, std::ostream& err) {
    const std::unique_ptr<QGuiApplication> gui = EnsureCliGuiApplication();
    std::vector<BookRecord> records;
    for (const std::string& file : job.files) {
        int status = kCliOk;
        // Each record is freed once its diagrams have their own copy of it.
        const std::unique_ptr<CliRecord> loaded =
            LoadCliRecordAt(file, job.game, job.move, err, status);
        if (!loaded) {
            err << "velmora-cli: the book is not written: " << file << " cannot be printed\n";
            return status;
        }
        BookRecord record;
        record.name = QFileInfo(QString::fromStdString(file)).fileName().toStdString();
        record.request = RecordPageRequest(loaded->board, loaded->file.Info());
        record.request.settings = job.settings;
        record.pages = PageCount(job.settings, record.request.totalMoves);
        records.push_back(std::move(record));
    }

    QPdfWriter writer(QString::fromStdString(job.output));
    if (job.setUpPage) job.setUpPage(writer);
    writer.setTitle(QString::fromStdString(records.front().name) +
                    QStringLiteral(" 외 %1개 기보").arg(records.size() - 1));
    writer.setCreator(QStringLiteral("velmora-cli"));
    const int total = static_cast<int>(records.size());
    const auto progress = [&](int index) {
        err << index + 1 << "/" << total << " " << records[index].name << "\n" << std::flush;
        return true;
    };
    if (PrintBook(writer, records, progress) != PrintOutcome::kPrinted) {
        err << "velmora-cli: cannot write " << job.output << "\n";
        return kCliFailed;
    }
    return kCliOk;
}

}  // namespace velmora

#include <memory>

#include "cli/command_context.h"
#include "cli/interrupt_watch.h"
#include "cli/output_file.h"
#include "device/archive_csv.h"
#include "device/archive_read.h"
#include "device/csv_text.h"

namespace cli {

namespace {

// The page "Архивы": the count typed, Ctrl+C as "Отменить", the grid, and
// a progress line on a terminal.
class ArchiveRows final : public device::ArchiveView {
 public:
  ArchiveRows(int count, TerminalSink& messages) : count_(count), messages_(messages) {}

  std::string recordCountText() const override { return std::to_string(count_); }
  // A Ctrl+C before the read began counts too: it is never reset.
  bool cancelRequested() const override { return InterruptWatch::requested(); }
  void resetCancel() override {}
  void setRecordRows(int records) override { rows.resize(static_cast<size_t>(records)); }
  void clearRecordRow(int row) override { rows[static_cast<size_t>(row - 1)] = {}; }
  void showRecord(int row, const device::ArchiveRowTexts& texts) override {
    device::ArchiveGridRow& cells = rows[static_cast<size_t>(row - 1)];
    cells[0] = std::to_string(row);
    for (size_t i = 0; i < texts.size(); ++i) cells[i + 1] = texts[i];
    read = row;
    messages_.progress("record " + std::to_string(row) + " of " + std::to_string(count_));
  }

  std::vector<device::ArchiveGridRow> rows;
  int read = 0;

 private:
  int count_;
  TerminalSink& messages_;
};

std::string plainText(const std::vector<device::ArchiveGridRow>& rows) {
  std::string text;
  for (const device::ArchiveGridRow& row : rows) {
    for (size_t i = 0; i < row.size(); ++i) {
      std::string cell = row[i];
      while (!cell.empty() && cell.back() == ' ') cell.pop_back();
      text += cell;
      text += i + 1 < row.size() ? "  " : "\n";
    }
  }
  return text;
}

}  // namespace

ExitCode RunArchive(CommandContext& context) {
  const Options& options = context.options;
  std::unique_ptr<OutputFile> file;
  if (!options.csvFile.empty()) {
    file = std::make_unique<OutputFile>(options.csvFile, context.terminal.out);
    if (!file->isOpen()) {
      context.messages.fail("cannot write " + options.csvFile);
      return ExitCode::kBadArguments;
    }
  }
  const InterruptWatch interrupt;
  ExitCode code = ExitCode::kDone;
  const auto session = context.connect(code);
  if (!session) return code;

  ArchiveRows view(*options.count, context.messages);
  const std::string separator = context.decimalSeparator();
  // "Архив считан" is the window's word for a whole read; this program says
  // how the read ended itself.
  context.messages.setConfirmationsShown(false);
  code = session->exitCodeOf(
      device::ReadArchive(session->link(), *session, view, context.messages, separator));
  context.messages.endProgress();
  const bool cancelled = InterruptWatch::requested();
  const std::string counted =
      std::to_string(view.read) + " of " + std::to_string(*options.count) + " records read";
  if (cancelled) code = InterruptWatch::exitCode();

  device::ArchiveGrid grid;
  for (size_t i = 0; i < grid.header.size(); ++i) grid.header[i] = device::kArchiveGridHeader[i];
  grid.rows.assign(view.rows.begin(), view.rows.begin() + view.read);
  if (!file) {
    context.terminal.out << plainText(grid.rows) << std::flush;
  } else if (view.read == 0 || (code != ExitCode::kDone && !cancelled)) {
    // A failed or empty read leaves the file as it was.
    context.messages.fail(counted + "; " + file->name() + " was not written");
    return code == ExitCode::kDone ? ExitCode::kNoConnection : code;
  } else if (!file->commit(device::EncodeArchiveCsv(grid, device::CsvListSeparator(separator)))) {
    context.messages.fail("cannot write " + options.csvFile);
    return ExitCode::kBadArguments;
  }
  if (cancelled) {
    context.messages.note("cancelled: " + counted +
                          (file ? ", written to " + file->name() : std::string()));
  } else if (code == ExitCode::kDone) {
    context.messages.note(counted);
  }
  return code;
}

}  // namespace cli

#include "ui/commands/main_commands.h"

#include "analysis/file_analysis.h"
#include "analysis/jpeg_tables.h"
#include "analysis/marker_catalogue.h"
#include "platform/error_box.h"
#include "ui/window_text.h"

namespace vellumark {

namespace {

constexpr int kOpenFlags = CommonDialog::kFileMustExist | CommonDialog::kHideReadOnly;
constexpr int kSaveFlags = CommonDialog::kOverwritePrompt | CommonDialog::kHideReadOnly;

}  // namespace

MainCommands::MainCommands(MainWindowParts parts, PlatformServices services)
    : parts_(parts), services_(services) {}

void MainCommands::Form_Initialize() { InitJpegTables(); }

void MainCommands::Form_Load() { parts_.TxtInfo.SetText(MarkerCodeTable()); }

// The first dialog opens in the program's folder; after that the dialog starts
// from the current file, whose name it already holds.
void MainCommands::SetInitialDirectory() {
  CommonDialog& dialog = services_.dialog;
  dialog.InitDir = dialog.FileName.empty() ? services_.app.ProgramDirectory() : std::string();
}

// Shows the shared file dialog; false where it was cancelled or failed (a
// failure has been shown by then).
bool MainCommands::ChooseFile(std::string_view filter, int flags, void (CommonDialog::*show)()) {
  CommonDialog& dialog = services_.dialog;
  try {
    dialog.Filter = filter;
    dialog.Flags = flags;
    SetInitialDirectory();
    (dialog.*show)();
  } catch (const RuntimeError& error) {
    if (error.Number() != 0 && error.Number() != error_number::kCancelled) {
      ShowErrorBox(services_.messages, error);
    }
    return false;
  }
  return true;
}

void MainCommands::mnuOpen_Click() {
  if (ChooseFile(window_text::kOpenFilter, kOpenFlags, &CommonDialog::ShowOpen)) {
    AnalyseFile(services_.dialog.FileName);
  }
}

void MainCommands::mnuSave_Click() {
  if (ChooseFile(window_text::kSaveFilter, kSaveFlags, &CommonDialog::ShowSave)) {
    SaveReport(services_.dialog.FileName);
  }
}

void MainCommands::mnuShowACH_Click() { parts_.mnuShowACH.SetChecked(!parts_.mnuShowACH.Checked()); }

void MainCommands::mnuRefresh_Click() { AnalyseFile(services_.dialog.FileName); }

void MainCommands::mnuThumb_Click() {
  if (!thumb_) {
    thumbWindow_ = parts_.createThumbnailWindow();
    thumb_ = std::make_unique<ThumbCommands>(*thumbWindow_, services_);
  }
  thumb_->Load(services_.dialog.FileName);
}

void MainCommands::mnuAbout_Click() {
  const AppInfo& app = services_.app;
  const std::string version = std::to_string(app.Major()) + "." + std::to_string(app.Minor()) +
                              "." + std::to_string(app.Revision());
  std::string prompt;
  prompt.append(window_text::kAboutProduct).append(app.ProductName()).append("\r\n");
  prompt.append(window_text::kAboutVersion).append(version).append("\r\n");
  prompt.append(window_text::kAboutAuthor).append(app.CompanyName()).append("\r\n");
  prompt.append(window_text::kAboutCopyright).append(app.LegalCopyright()).append("\r\n");
  prompt.append(window_text::kAboutDescription).append(app.FileDescription());
  services_.messages.Show(prompt, std::string(window_text::kAboutTitle), MessageIcon::Information);
}

void MainCommands::mnuQuit_Click() { parts_.window.Close(); }

void MainCommands::AnalyseFile(const std::string& FileName) {
  parts_.TxtInfo.SetText({});
  BusyScope busy(services_.busy);
  StringReportSink report(parts_.TxtInfo.Capacity());
  const auto fault = AnalyseToReport(services_.files, FileName, report,
                                     [this] { return parts_.mnuShowACH.Checked(); });
  parts_.TxtInfo.SetText(report.TakeText());
  busy.End();
  if (fault) {
    ShowErrorBox(services_.messages, fault->error, fault->readPosition);
  }
}

void MainCommands::SaveReport(const std::string& FileName) {
  parts_.windowPointer.SetShape(PointerShape::Hourglass);
  try {
    services_.files.WriteText(FileName, parts_.TxtInfo.Text());
  } catch (const RuntimeError& error) {
    parts_.windowPointer.SetShape(PointerShape::Default);
    ShowErrorBox(services_.messages, error);
    return;
  }
  parts_.windowPointer.SetShape(PointerShape::Default);
}

}  // namespace vellumark

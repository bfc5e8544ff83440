#pragma once
// Page setup and printing: to a real printer where there is one, else to a PDF file.
//
// Sizes are in points (72 to the inch), which are also the units of a printed page's
// Graphics.

#include <cstdint>
#include <memory>
#include <string>

#include "framework/Graphics.h"

namespace fw {

class Window;

class PrinterSetup {
 public:
  // The default printer's default page setup.
  PrinterSetup();
  ~PrinterSetup();
  PrinterSetup(const PrinterSetup&) = delete;
  PrinterSetup& operator=(const PrinterSetup&) = delete;

  // The page setup as text; assigning such a text back restores it. A text this
  // framework did not write leaves the setup as it was. The text carries the scale
  // as a page format property list: the factor is the first <real> after the second
  // "com.apple.print.PageFormat.PMScaling" key.
  std::string SetupString() const;
  void SetSetupString(const std::string& text);

  // The platform's page-setup dialog, with a Scale field in percent. True when the
  // user confirms; the setup then holds the confirmed choice. False when cancelled,
  // with the setup unchanged.
  bool PageSetupDialog(Window* parent = nullptr);

  // The whole sheet, in the chosen orientation.
  int32_t PageWidth() const;
  int32_t PageHeight() const;
  // The printable area.
  int32_t Width() const;
  int32_t Height() const;
  // 1 is full size; 0.5 prints everything at half its size.
  double Scaling() const;

  struct State;
  State& Internal() const { return *state_; }

 private:
  std::unique_ptr<State> state_;
};

// Shows the platform's print dialog (seeded with `setup` when given) and returns the
// Graphics of the job's first page, or null when the user cancels or the job cannot
// start. The dialog chooses the printer (or PDF file) and, for a printer, the copies;
// the sheet and its orientation stay those of `setup` (or the default page setup),
// and every page the job draws is printed: the dialog offers no choice of pages.
// `title` names the job and the PDF.
//
// The job is complete when the Graphics is destroyed. A PDF is written to a
// temporary file beside the chosen one and moved in place only when complete: a job
// that fails or prints nothing leaves no file and any earlier one as it was. A job
// that could not be written shows an alert. With no printer to print on, the dialog
// offers a PDF file, the one the last job of the run wrote if any. A name that stands
// for a pipe, a socket or a device is never offered (a free NAME-2.pdf beside it is),
// the dialog refuses it, and a job never writes to it.
std::unique_ptr<Graphics> OpenPrinterDialog(PrinterSetup* setup, Window* parent = nullptr,
                                            const std::string& title = "");

// Ends a job without printing it: nothing reaches the printer, no file is written.
void AbandonPrintJob(std::unique_ptr<Graphics> page);

}  // namespace fw

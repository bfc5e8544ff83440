// The PDF file of a job is a plain file or nothing yet: a pipe, a socket or a device
// is neither offered by the print dialog, nor accepted in it, nor written by the job.
// Opening a FIFO that nobody reads waits for ever, and nothing could end the run.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/printing/PrintTest.h"

namespace {

namespace fs = std::filesystem;

bool Has(const std::string& text, const std::string& sought) { return text.find(sought) != std::string::npos; }

// A FIFO with a reader, so that a job that opens it by mistake neither blocks the
// test nor loses what it wrote: the bytes stay in the pipe for the test to count.
class Fifo {
 public:
  explicit Fifo(const fs::path& path) : path_(path) {
    if (::mkfifo(path.c_str(), 0600) != 0) return;
    reader_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (reader_ >= 0) ::fcntl(reader_, F_SETPIPE_SZ, 1 << 20);  // room for a whole PDF
  }
  ~Fifo() {
    if (reader_ >= 0) ::close(reader_);
  }
  Fifo(const Fifo&) = delete;
  Fifo& operator=(const Fifo&) = delete;

  bool Ready() const { return reader_ >= 0; }
  // Still a FIFO, with nothing written into it.
  void ExpectUntouched() const {
    EXPECT_TRUE(fs::is_fifo(path_)) << path_ << " was replaced";
    int unread = 0;
    ::ioctl(reader_, FIONREAD, &unread);
    EXPECT_EQ(unread, 0) << "bytes were written into " << path_;
  }

 private:
  fs::path path_;
  int reader_ = -1;
};

class PrintFileTest : public PrintTest {
 protected:
  // Every name in the folder, with its file's bytes.
  std::map<std::string, std::string> Contents() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(dir))
      files[entry.path().filename()] = entry.is_regular_file() ? ReadFile(entry.path()) : "(not a file)";
    return files;
  }
};

}  // namespace

TEST_F(PrintFileTest, APipeIsNeverOfferedAFreeNameBesideItIs) {
  struct Row {
    const char* what;
    std::vector<std::string> taken;  // plain files of someone's, in the folder
    bool lastJob;                    // offered as the last job's file rather than as the given one
    const char* offered;
  };
  const Row rows[] = {
      {"the file given", {}, false, "job-2.pdf"},
      {"the file given, with a file of someone's beside it", {"job-2.pdf"}, false, "job-3.pdf"},
      {"the last job's file", {}, true, "job-2.pdf"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    fw::test::SetPrintFile(pdf);
    if (r.lastJob) {
      ASSERT_TRUE(PrintMonths(false, 2024, 1, 1));
      fs::remove(pdf);
      fw::test::SetPrintFile("");
    }
    const Fifo fifo(pdf);
    ASSERT_TRUE(fifo.Ready());
    for (const std::string& name : r.taken) WriteFile(dir / name, "someone's");
    fw::test::Dialog d;
    WhilePrintWindow([&](CalPrint& w) {
      Fill(w, false, "2024", "2", "2");
      d = fw::test::AnswerPrintDialog([&] { fw::test::Click(*w.PrintPRT); }, {"", true, {}});
    });
    EXPECT_EQ(d.File, (dir / r.offered).string());
    EXPECT_TRUE(d.Raised.empty()) << d.Raised.front().Text;
    EXPECT_EQ(fw::test::ReadPdf((dir / r.offered).string()).Pages, 1) << "the job did not write the file offered";
    fifo.ExpectUntouched();
    for (const std::string& name : r.taken)
      EXPECT_TRUE(ReadFile(dir / name) == "someone's") << name << " was overwritten";
    for (const auto& entry : fs::directory_iterator(dir)) fs::remove_all(entry);
  }
}

TEST_F(PrintFileTest, APipeChosenInTheDialogIsRefusedAndTheDialogStaysUp) {
  struct Row {
    const char* what;
    const char* typed;  // in the test's folder: "pipe" is a FIFO, "link" a link to it
    bool pressPrint;    // as a person does, else accepted as a program does
    const char* raised;
  };
  const Row rows[] = {
      {"a FIFO, accepted", "pipe", false, "pipe is not a file but a pipe, a socket or a device"},
      {"a FIFO, Print pressed", "pipe", true, "pipe is not a file but a pipe, a socket or a device"},
      {"a link to a FIFO, Print pressed", "link", true, "link is not a file but a pipe, a socket or a device"},
      // Qt's own check still runs after this one, and speaks for a folder.
      {"a folder, Print pressed", "folder", true, "folder is a directory"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    const Fifo fifo(dir / "pipe");
    ASSERT_TRUE(fifo.Ready());
    fs::create_symlink("pipe", dir / "link");
    fs::create_directory(dir / "folder");
    const auto before = Contents();
    fw::test::Dialog d;
    WhilePrintWindow([&](CalPrint& w) {
      Fill(w, false, "2024", "2", "2");
      d = fw::test::AnswerPrintDialog([&] { fw::test::Click(*w.PrintPRT); },
                                      {(dir / r.typed).string(), r.pressPrint, {}});
    });
    EXPECT_EQ(d.Kind, "print");
    EXPECT_EQ(d.Raised.size(), 1u);
    for (const fw::test::Alert& raised : d.Raised) EXPECT_TRUE(Has(raised.Text, r.raised)) << raised.Text;
    // The dialog stayed up for another name: it was cancelled, and nothing printed.
    fifo.ExpectUntouched();
    EXPECT_EQ(Contents(), before);
    for (const auto& entry : fs::directory_iterator(dir)) fs::remove_all(entry);
  }
}

TEST_F(PrintFileTest, AFileThatBecomesAPipeOnceChosenIsNotWritten) {
  std::unique_ptr<Fifo> fifo;
  fw::test::Alert a;
  WhilePrintWindow([&](CalPrint& w) {
    Fill(w, false, "2024", "2", "2");
    a = fw::test::ExpectAlert([&] {
      fw::test::AnswerPrintDialog([&] { fw::test::Click(*w.PrintPRT); },
                                  {"", false, [&] { fifo = std::make_unique<Fifo>(pdf); }});
    });
  });
  ASSERT_TRUE(fifo && fifo->Ready());
  EXPECT_TRUE(a.Shown && a.StopIcon);
  EXPECT_EQ(a.Text, "The calendar could not be printed to " + pdf + ".");
  fifo->ExpectUntouched();
  EXPECT_EQ(Contents().size(), 1u) << "a temporary file was left behind";
}

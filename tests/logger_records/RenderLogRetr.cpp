// Renders the record viewer to PNG files, for a look at its layout:
// logger_records_render <directory>. Not a test.
#include "LoggerTestProgram.h"
#include "WindowImage.h"

using namespace kvlink;
using test::saveWindowImage;

int main(int argc, char** argv) {
  return test::renderWindows(argc, argv, [](const QString& dir) {
    {
      test::LoggerTestProgram t(true, 0);
      t.unit().setRecord(0, {0x2003, 0x1225, 0x0314, 0x0509, 0x1FF, 0x3FF, 7, 120, 95, 4, 41, 0, 87,
                             650, 12, 39, 0, 100});
      t.regs()[138] = 137;
      t.retrieve([&](LogRetr& w) { saveWindowImage(w, dir, "logger-retrieve-motor"); });
    }
    {
      test::LoggerTestProgram t(false, 4);
      t.unit().setRecord(17, {0x2024, 0x0102, 0x0208, 0x3000, 17, 1, 3, 200, 201, 202, 5, 60, 1234,
                              7, 8, 9, 10, 11, 12});
      t.regs()[138] = 250;
      t.retrieve([&](LogRetr& w) {
        w.HScroll1->setValue(17);
        w.SSOption2->setChecked(true);
        w.ProgressBar1->setRange(0, 49);
        w.ProgressBar1->setValue(20);
        saveWindowImage(w, dir, "logger-retrieve-type4");
        t.unit().silent = true;  // a record that cannot be read: no fields under its number
        w.HScroll1->setValue(18);
        saveWindowImage(w, dir, "logger-retrieve-unread");
      });
    }
  });
}

#pragma once
#include <filesystem>
#include <string>

namespace ostrivane {

class PlankPlan;

// The printed pages of a calculated plan as a PDF, page for page as a printer set to the
// plan's page size and resolution gets them: each page of the PDF is the printable page, PW x
// PH dots at dx x dy dots per inch, at true scale also for a resolution that is not a whole
// number. Creates the GUI application object when the process has none (on a headless machine
// Qt's offscreen platform is used). Throws Error.
std::string plan_pdf(PlankPlan& plan, bool marks);

// plan_pdf through the program's atomic save: the file appears whole or not at all, a link is
// written through, the file's mode is kept, and a device, a folder or a read-only file is
// refused. Throws Error naming the file and the system's reason.
void write_plan_pdf(const std::filesystem::path& file, PlankPlan& plan, bool marks);

}  // namespace ostrivane

#pragma once
#include <filesystem>

namespace ostrivane {

class PlankPlan;

// Writes the printed pages of a calculated plan as a PDF, page for page as a printer set to
// the plan's page size and resolution gets them: each page of the PDF is the printable page,
// PW x PH dots at dx dots per inch. The file appears whole or not at all. Creates the GUI
// application object when the process has none (on a headless machine Qt's offscreen platform
// is used). Throws Error.
void write_plan_pdf(const std::filesystem::path& file, PlankPlan& plan, bool marks);

}  // namespace ostrivane

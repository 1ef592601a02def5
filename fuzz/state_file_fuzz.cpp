// Feeds arbitrary bytes to the window-state codec as each window restores its file: the main
// window (a ".gof" program or Settings.ini, with the tooth file's "[tndfile]" lines after the
// record), the spline editor (drawspline.ini) and the plan window (planner.ini). Whatever the
// bytes, a restore applies what it can or says why not; what a window then holds must save and
// restore again to the same bytes, and the tooth file's key must survive being set.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "core/app/field_values.h"
#include "core/app/form_state.h"
#include "core/app/main_window_fields.h"
#include "core/app/state_file.h"
#include "core/editor/editor_components.h"
#include "core/planner/plan_form_fields.h"

using namespace ostrivane;

namespace {
void restore_and_save_again(std::string_view bytes, std::span<const ComponentSpec> components) {
    FieldValues form(components);
    restore_form_state(bytes, components, form);
    const std::string saved = save_form_state(components, form);
    FieldValues again(components);
    if (restore_form_state(saved, components, again))
        std::abort();  // a file of our own must restore
    if (save_form_state(components, again) != saved)
        std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    restore_and_save_again(bytes, main_window_components());
    restore_and_save_again(bytes, editor_components());
    restore_and_save_again(bytes, plan_window_components());

    read_ini_key(bytes, tnd_section, tnd_key);
    const std::string with_key = write_ini_key(bytes, tnd_section, tnd_key, "C:/joints/a.tnd");
    if (read_ini_key(with_key, tnd_section, tnd_key) != "C:/joints/a.tnd")
        std::abort();
    return 0;
}

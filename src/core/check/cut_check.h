#pragma once
#include <array>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/check/check_design.h"
#include "core/check/envelope.h"
#include "core/check/machine_limits.h"
#include "core/check/pass_tracker.h"
#include "core/check/program_reader.h"
#include "core/check/run_time.h"
#include "core/text/job_context.h"

namespace ostrivane {

enum class ProgramKind { turning, finger_joint };

// The largest difference of one kind and where it is; no x when there is none.
struct Deviation {
    double max_mm = 0;
    std::optional<double> at_x;
};

struct PassDeviation {
    PassKind pass = PassKind::rough;
    Deviation overcut;
    Deviation left;
};

// The first move at which the saw outline meets material: its number among the program's
// moves (from 1), its line, and where the saw stands after it (left edge, top).
struct Interference {
    std::size_t move = 0;
    std::size_t line = 0;
    double x = 0;
    double y = 0;
};

// A slot: as cut (nullopt when nothing was cut there) against the design's (nullopt for a
// slot the design does not have).
struct SlotCut {
    std::optional<DesignSlot> cut;
    std::optional<DesignSlot> expected;
};

// A report lists every slot up to this many; a longer list is summarised.
inline constexpr std::size_t kMostListedSlots = 100;

struct EnvelopeSample {
    double x = 0;
    double envelope = 0;           // the highest the saw top reached
    std::optional<double> design;  // the intended surface, where there is one
};

// What a program cuts, against what it is meant to cut. Heights are the saw top's y (turning)
// or the depth into the face (finger joints).
struct CheckReport {
    ProgramKind kind = ProgramKind::turning;
    std::size_t lines = 0;
    std::size_t moves = 0;
    double run_time_s = 0;
    std::string time_label;  // the model in a few words, beside the figure
    std::string time_model;  // the model in a sentence
    double tolerance = 0.05;
    Deviation overcut;  // the envelope above the design
    Deviation left;     // material left: the envelope below the design
    std::vector<PassDeviation> passes;
    std::optional<Interference> interference;
    // The slots: every one, in order of x, when there are at most kMostListedSlots; else
    // (`slots_summarised`) only those not cut as designed, at most kMostListedSlots of them.
    std::vector<SlotCut> slots;
    std::size_t slot_count = 0;         // slots cut or designed, listed or not
    std::size_t slots_as_designed = 0;  // cut where designed, edges and depth within tolerance
    bool slots_summarised = false;
    std::vector<EnvelopeSample> envelope;  // at the output resolution

    // The program cuts into the design beyond the tolerance, or the outline meets the work.
    bool cuts_into_design() const { return overcut.max_mm > tolerance || interference.has_value(); }
    // A program without a move has nothing to judge: it neither keeps within the tolerance nor
    // cuts into the design.
    bool has_moves() const { return moves > 0; }
};

// Follows the check move by move (the backplot keeps them to step through).
class CheckObserver {
  public:
    virtual ~CheckObserver() = default;
    // Move `number` (from 1) took the saw from `from` to `to` (program axes, from where the
    // program started); the program has run `seconds` up to its end.
    virtual void moved(std::size_t number, const ProgramMove& move,
                       const std::array<double, 4>& from, const std::array<double, 4>& to,
                       double seconds) = 0;
};

// What the check needs beside the program.
struct CheckInputs {
    MachineSettings settings;
    MachineLimits limits = default_machine_limits();
    double tolerance = 0.05;
    TurningDesign* turning = nullptr;    // for a turning program; not owned
    const JointDesign* joint = nullptr;  // for a finger-joint program; not owned
    // The kind of program when the caller knows it (it wrote the program, or was told);
    // otherwise the header tells (CutCheck).
    std::optional<ProgramKind> kind;
    // Called once the kind is known, before the first move is followed, to set `turning` or
    // `joint`: the program is read once, and only the design of its kind is built.
    std::function<void(ProgramKind, CheckInputs&)> design_for;
};

// The most columns an envelope gets: its step grows for a design so long (or so fine) that it
// would need more. 4 M columns keep the 1.5 m job at 1000 samples per mm exact.
inline constexpr std::size_t kMostEnvelopeColumns = std::size_t{1} << 22;

// Reads a program line by line and simulates it against its design in memory that does not
// grow with the program (only the envelope, sized by the design, is kept). Unless the inputs
// say, the kind of program is told by its header: the finger-joint header sets incremental
// distances (G91) before it stores the home position (G28.1), the turning header after; a
// program with neither order is a finger joint when it asks for exact stop (G61) first.
class CutCheck {
  public:
    explicit CutCheck(CheckInputs inputs, CheckObserver* observer = nullptr);
    ~CutCheck();
    CutCheck(const CutCheck&) = delete;
    CutCheck& operator=(const CutCheck&) = delete;

    // One line without its line end. Throws Error naming the line for what cannot be read. A
    // program whose kind has no design in the inputs is only timed.
    void add_line(std::string_view line);
    // The report; the check is spent afterwards.
    CheckReport finish();

  private:
    void start(ProgramKind kind);
    ProgramKind guessed_kind() const;
    void follow(const ProgramMove& move);
    void check_outline(const std::array<double, 4>& from, const std::array<double, 4>& to,
                       const ProgramMove& move);
    void judge_turning(CheckReport& report);
    void judge_joint(CheckReport& report);

    CheckInputs in_;
    CheckObserver* observer_;
    ProgramReader reader_;
    RunTimeModel timer_;
    PassTracker passes_;
    std::optional<ProgramKind> kind_;
    std::unique_ptr<Envelope> envelope_;
    std::vector<ProgramMove> pending_;
    std::array<double, 4> position_{};
    std::size_t moves_ = 0;
    double seconds_ = 0;
    std::optional<Interference> interference_;
    // Turning: the deepest any move stood above the design, over all and per section of the
    // program (the pass of a section is known once it has ended).
    DesignExcess overcut_;
    std::vector<DesignExcess> section_overcut_;
    // Finger joints: the deepest cut outside the envelope's columns, and where.
    Deviation outside_;
};

// The check of a whole program text.
CheckReport check_program_text(std::string_view program, CheckInputs inputs,
                               CheckObserver* observer = nullptr);
// The check of a program file, read piece by piece; `context` (may be null) is pumped and told
// the progress every few thousand lines, and a cancel throws JobCancelled. Throws Error naming
// the file for one that cannot be read, and naming the line for what is not understood.
CheckReport check_program_file(const std::filesystem::path& file, CheckInputs inputs,
                               CheckObserver* observer = nullptr, JobContext* context = nullptr);

}  // namespace ostrivane

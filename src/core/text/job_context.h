#pragma once

namespace ostrivane {

// What a long job (a turning program, the shading, a huge finger joint) may ask of its host
// while it runs. The job calls pump() where pending events may be handled (after each saw
// position drawn, each shading column, every few thousand lines), checks cancelled() there and
// reports progress. The plain context never cancels and ignores progress: the command-line
// tool and the tests use it.
class JobContext {
  public:
    virtual ~JobContext() = default;
    // Lets the host repaint and read the Cancel button.
    virtual void pump() {}
    // True once the operator asked the job to stop; the job then stops at its next safe point.
    virtual bool cancelled() const { return false; }
    // done of total units of work (total <= 0: not known).
    virtual void progress(double /*done*/, double /*total*/) {}
};

}  // namespace ostrivane

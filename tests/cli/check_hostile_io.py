"""Hostile inputs and outputs of ostrivane-cli that a CMake case cannot express: standard output
closed early or named /dev/stdout, a kill in the middle of a job, old programs that a refused job
must leave alone, and exports read back by parsers that share nothing with ours (xml.etree for
SVG, a strict group reader for DXF, pdfinfo for PDF where it is installed).

usage: check_hostile_io.py CLI GOLDEN_FOLDER WORK_DIR
"""
import json
import os
import shutil
import signal
import struct
import subprocess
import sys
import time
import xml.etree.ElementTree as ET

CLI, GOLDEN, WORK = sys.argv[1], sys.argv[2], sys.argv[3]
BALUSTER = os.path.join(GOLDEN, "turn_rough_baluster", "profile.spl")
VASE = os.path.join(GOLDEN, "plan_vase_json", "vase.spl")
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def fresh(name):
    folder = os.path.join(WORK, name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(os.path.join(folder, "tmp"))
    os.makedirs(os.path.join(folder, "home", "Documents"))
    env = dict(os.environ, HOME=os.path.join(folder, "home"), TMPDIR=os.path.join(folder, "tmp"),
               XDG_DATA_HOME=os.path.join(folder, "home", "data"),
               XDG_DOCUMENTS_DIR=os.path.join(folder, "home", "Documents"))
    return folder, env


def run(args, env, cwd=None, **kw):
    return subprocess.run([CLI, *args], env=env, cwd=cwd, capture_output=True, **kw)


def staging_left(folder):
    # Qt keeps a runtime folder of its own there; only the tool's staging folders count.
    return [n for n in os.listdir(os.path.join(folder, "tmp")) if n.startswith("ostrivane-cli-")]


# --- standard output closed early ------------------------------------------------------------
def closed_early(name, args):
    folder, env = fresh("closed_" + name)
    # As `| head -c 100`: read 100 bytes, then close the pipe.
    job = subprocess.Popen([CLI, *args, "--output", "-"], env=env, stdout=subprocess.PIPE,
                           stderr=subprocess.PIPE)
    head = job.stdout.read(100)
    job.stdout.close()
    err = job.stderr.read().decode(errors="replace")
    rc = job.wait()
    check(len(head) == 100, f"{name}: the first 100 bytes arrive")
    check(rc == 0, f"{name}: a reader that stops early ends the job quietly, exit {rc}")
    check("Cannot write" not in err, f"{name}: no complaint about the closed pipe: {err!r}")
    check(staging_left(folder) == [], f"{name}: nothing left in TMPDIR: {staging_left(folder)}")


# Each program is far longer than a pipe holds, so the job meets the closed pipe.
closed_early("turn", ["turn", "--spline", BALUSTER, "--fast", "no", "--set", "repeater=40"])
closed_early("fingerjoint", ["fingerjoint", "--set", "no_cuts=400"])
closed_early("tooth", ["tooth", "--set", "no_cuts=400"])


# --- killed while it works -------------------------------------------------------------------
def killed(sig):
    folder, env = fresh(f"killed_{sig}")
    # Nobody reads standard output: the job fills the pipe and waits there, its program in the
    # staging folder, when the signal comes.
    job = subprocess.Popen([CLI, "fingerjoint", "--set", "no_cuts=400", "--output", "-"],
                           env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    deadline = time.time() + 30
    while not staging_left(folder) and time.time() < deadline:
        time.sleep(0.01)
    check(staging_left(folder) != [], "the job made its staging folder")
    time.sleep(0.2)
    job.send_signal(sig)
    rc = job.wait()
    job.stdout.close()
    check(rc == -sig, f"signal {sig}: the process ends by it, not {rc}")
    check(staging_left(folder) == [], f"signal {sig}: nothing left in TMPDIR: {staging_left(folder)}")


for sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
    killed(sig)


# --- /dev/stdout into a pipe, and "-" as standard output everywhere --------------------------
def without_date(data):
    """A PDF without the lines that change with every run: its creation date and its ID."""
    return b"\n".join(line for line in data.split(b"\n")
                      if b"/CreationDate" not in line and b"/ID" not in line)


def same_as_file(name, args):
    """The bytes on standard output for `-` and /dev/stdout equal those of a file."""
    folder, env = fresh("stdout_" + name)
    target = os.path.join(folder, "file.out")
    with_file = [a if a != "@OUT@" else target for a in args]
    done = run(with_file, env, cwd=folder)
    check(done.returncode == 0, f"{name} into a file: {done.stderr!r}")
    expected = open(target, "rb").read()
    for spelling in ("-", "/dev/stdout"):
        piped = run([a if a != "@OUT@" else spelling for a in args], env, cwd=folder)
        check(piped.returncode == 0, f"{name} {spelling}: exit {piped.returncode} {piped.stderr!r}")
        check(without_date(piped.stdout) == without_date(expected),
              f"{name} {spelling}: {len(piped.stdout)} bytes on standard output, the file has "
              f"{len(expected)}")
        check(not os.path.exists(os.path.join(folder, "-")), f"{name} {spelling}: no file named -")
    check(staging_left(folder) == [], f"{name}: nothing left in TMPDIR")
    return expected


same_as_file("turn", ["turn", "--spline", BALUSTER, "--fast", "no", "--output", "@OUT@"])
same_as_file("program_save", ["program", "save", "@OUT@", "--set", "Smot_name=Jug"])
same_as_file("spline_import", ["spline", "import", os.path.join(GOLDEN, "spline_import",
                                                                "points.txt"), "--output", "@OUT@"])
drawing = "--with-drawings" in sys.argv
if drawing:
    svg = same_as_file("plan_svg", ["plan", "--spline", VASE, "--svg", "@OUT@"])
    ET.fromstring(svg)
    same_as_file("plan_dxf", ["plan", "--spline", VASE, "--dxf", "@OUT@"])
    same_as_file("plan_pdf", ["plan", "--spline", VASE, "--pdf", "@OUT@", "--date", "01/02/2025"])
    folder, env = fresh("two_on_stdout")
    done = run(["plan", "--spline", VASE, "--svg", "-", "--dxf", "-"], env)
    check(done.returncode == 2 and done.stdout == b"", "two drawings cannot share standard output")

folder, env = fresh("check_png")
done = run(["check", os.path.join(GOLDEN, "turn_rough_baluster", "expected.ngc"), "--spline",
            BALUSTER, "--png", "-"], env, cwd=folder)
check(done.returncode == 2 and b"--png needs a file name" in done.stderr,
      f"check --png - is refused: {done.returncode} {done.stderr!r}")


# A machine file named in Latin-1: the JSON report stays UTF-8 and names it.
folder, env = fresh("latin1_machine")
machine = os.path.join(os.fsencode(folder), b"m\xe9.ini")
with open(machine, "wb") as f:
    f.write(b"[AXIS_X]\nMAX_VELOCITY = 50\nMAX_ACCELERATION = 500\n")
program = os.path.join(folder, "b.ngc")
run(["turn", "--spline", BALUSTER, "--fast", "no", "--output", program], env)
done = subprocess.run([os.fsencode(CLI), b"check", os.fsencode(program), b"--spline",
                       os.fsencode(BALUSTER), b"--machine", machine, b"--json"], env=env,
                      capture_output=True)
check(done.returncode in (0, 3), f"check with a Latin-1 machine name: {done.stderr!r}")
try:
    report = done.stdout.decode("utf-8")
    shown = json.dumps(json.loads(report), ensure_ascii=False)
    check("m\u00e9.ini" in shown, "the report names the machine file")
except (UnicodeDecodeError, ValueError) as e:
    check(False, f"the report is UTF-8 JSON: {e}")


# --- refused before the old program is touched -----------------------------------------------
def spline_file(points):
    """A spline file of this program's version holding `points` and nothing else."""
    data = struct.pack("<HHi", 10120, 860, len(points))
    for x, y in points:
        data += struct.pack("<dd", x, y)
    data += struct.pack("<dd", 1.0, 1.0) * len(points)
    data += struct.pack("<H", 0)  # no fine-milling parts
    data += struct.pack("<Hi", 860, 0)  # no second spline
    data += struct.pack("<i", 0)  # no recorded moves
    return data


OLD = b"(an old program that a refused job must leave as it is)\n"


def refused(name, args, message):
    folder, env = fresh("refused_" + name)
    far = os.path.join(folder, "far.spl")
    with open(far, "wb") as f:
        f.write(spline_file([(0, 1e308), (100, 1e308)]))
    program = os.path.join(folder, "old.ngc")
    with open(program, "wb") as f:
        f.write(OLD)
    args = [a.replace("@FAR@", far) for a in args]
    if "--output" not in args:
        args += ["--output", program]
    done = run(["turn", *args], env)
    err = done.stderr.decode(errors="replace")
    check(done.returncode == 1, f"{name}: exit {done.returncode}")
    check(open(program, "rb").read() == OLD, f"{name}: the old program is untouched")
    check("will be created" not in err, f"{name}: no 'will be created': {err!r}")
    check(err.rstrip("\n").endswith(message), f"{name}: {err!r} ends with {message!r}")


refused("no_profile", ["--fast", "yes"], "does not exist (draw one in the editor, or give --spline)")
refused("no_repetition", ["--spline", BALUSTER, "--fast", "yes", "--set", "repeater=0"],
        "Repeat the job must be at least 1: with 0 the program cuts nothing.")
endless = "a turning program may hold: lower the counts or Spline samples/mm, or widen the saw."
refused("endless_counts", ["--spline", BALUSTER, "--fast", "yes", "--set", "repeater=1000",
                           "--set", "runsdepth=1000", "--set", "runsheight=1000"], endless)
refused("endless_resolution", ["--spline", BALUSTER, "--fast", "yes", "--set", "resolution=1e9"],
        endless)
refused("hair_saw", ["--spline", BALUSTER, "--fast", "yes", "--set", "Ssaw_width=1e-300"], endless)
refused("far_profile", ["--spline", "@FAR@", "--fast", "yes"],
        "Point 1 of the profile (0, 1E308) lies beyond the working range of ±100000 mm")
refused("missing_folder", ["--spline", BALUSTER, "--fast", "no", "--output",
                           os.path.join(WORK, "nowhere", "x.ngc")],
        "Cannot create file " + os.path.join(WORK, "nowhere", "x.ngc") + ": No such file or directory")


# --- exports of hostile names read back ------------------------------------------------------
def dxf_groups(text):
    """The groups of a DXF file, strictly: a whole number on every code line, a value for every
    code, sections that close, and nothing after 0 EOF."""
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    if len(lines) % 2:
        raise ValueError("a code without its value")
    groups = [(int(lines[i].strip()), lines[i + 1]) for i in range(0, len(lines), 2)]
    depth = 0
    for k, (code, value) in enumerate(groups):
        if code == 0 and value == "SECTION":
            depth += 1
        elif code == 0 and value == "ENDSEC":
            depth -= 1
        elif code == 0 and value == "EOF" and k != len(groups) - 1:
            raise ValueError("groups after 0 EOF")
        if depth not in (0, 1):
            raise ValueError("sections do not nest")
    if groups[-1] != (0, "EOF") or depth != 0:
        raise ValueError("the file does not end with its sections closed and 0 EOF")
    return groups


def hostile_name(label, name, shown):
    folder, env = fresh("name_" + label)
    svg = os.path.join(folder, "plan.svg")
    dxf = os.path.join(folder, "plan.dxf")
    pdf = os.path.join(folder, "plan.pdf")
    done = run(["plan", "--spline", VASE, "--set", "Smot_name=" + name, "--svg", svg, "--dxf", dxf,
                "--pdf", pdf], env)
    check(done.returncode == 0, f"{label}: plan exits {done.returncode} {done.stderr!r}")
    try:
        root = ET.parse(svg).getroot()
        title = root.find("{http://www.w3.org/2000/svg}title")
        check(title is not None and title.text == shown + " saw plan",
              f"{label}: the SVG title reads {title.text if title is not None else None!r}")
    except ET.ParseError as e:
        check(False, f"{label}: the SVG is not well-formed XML: {e}")
    try:
        groups = dxf_groups(open(dxf, encoding="utf-8", errors="replace").read())
        entities = [v for c, v in groups if c == 0]
        check(entities.count("EOF") == 1, f"{label}: one EOF in the DXF")
        texts = [v for c, v in groups if c == 1]
        check(any(name.replace("\n", "^J") in t for t in texts),
              f"{label}: the name as one DXF value in caret notation")
    except ValueError as e:
        check(False, f"{label}: the DXF is not well-formed: {e}")
    if shutil.which("pdfinfo"):
        info = subprocess.run(["pdfinfo", pdf], capture_output=True)
        check(info.returncode == 0 and b"Syntax Error" not in info.stderr,
              f"{label}: pdfinfo reads the PDF: {info.stderr!r}")


if drawing:
    hostile_name("ampersand", "Vase & Bowl", "Vase & Bowl")
    hostile_name("injection", "Vase\n0\nEOF\n<b>", "Vase\n0\nEOF\n<b>")

if failures:
    sys.exit(f"{len(failures)} failures")
print("all checks passed")

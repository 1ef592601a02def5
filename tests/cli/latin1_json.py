"""A program name typed in Latin-1 (one byte 0xE9 for "é") still gives JSON that a strict
reader takes: valid UTF-8 throughout, the name readable in the page texts."""
import json
import os
import subprocess
import sys
import tempfile

cli, vase = sys.argv[1], sys.argv[2]
with tempfile.TemporaryDirectory() as home:
    env = dict(os.environ, HOME=home, XDG_DATA_HOME=os.path.join(home, "data"))
    run = subprocess.run(
        [cli.encode(), b"plan", b"--json", b"--spline", vase.encode(), b"--date", b"01/02/2024",
         b"--set", b"Smot_name=Caf\xe9"],
        env=env, capture_output=True, check=False)
if run.returncode != 0:
    sys.exit(f"exit {run.returncode}: {run.stderr!r}")
plan = json.loads(run.stdout.decode("utf-8"))  # strict: invalid UTF-8 raises here
texts = [text for page in plan["pages"] for text in page["texts"]]
if not any("Café" in text for text in texts):
    sys.exit(f"the name is not in the page texts: {texts}")

#!/usr/bin/env python3
"""The Windows window must write the bytes the Linux build writes.

    window_writes_linux_bytes.py LINUX_COMPOSE WINDOW_TESTS WINE_RUN DATA_DIR

For a fresh form, each .ref of DATA_DIR and each ReadMe of import/, the Linux
kelvaro-compose writes the text file, the HTML 4.01 file and the form file.
Then the window test program, under Wine, takes the same form through the
window's own commands (new, open, import) and writes the three files through
its menu: its test Win32WindowBytes compares them with the Linux bytes.
"""
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile

from compose_matches_linux import windows_path

def compose(linux, args):
    return subprocess.run([linux] + args, stdin=subprocess.DEVNULL, capture_output=True,
                          timeout=120)


def main(argv):
    if len(argv) != 5:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    linux, window_tests, wine_run, data = argv[1], argv[2], argv[3], pathlib.Path(argv[4])
    if not pathlib.Path(linux).is_file():
        print(f"the Linux build's kelvaro-compose is missing: {linux}", file=sys.stderr)
        return 1
    with tempfile.TemporaryDirectory() as temporary:
        folder = pathlib.Path(temporary) / "作者のフォルダ"
        expected = folder / "Linux"
        expected.mkdir(parents=True)
        sources = [("new", None)]
        sources += [("open", form) for form in sorted(data.glob("*.ref"))]
        sources += [("import", readme) for readme in sorted((data / "import").iterdir())]
        lines = []
        for number, (kind, source) in enumerate(sources):
            given = []
            copy = ""
            if source is not None:
                copy = folder / f"説明書{number}{source.suffix}"
                shutil.copyfile(source, copy)
                given = ["--import", str(copy)] if kind == "import" else ["--", str(copy)]
            # A form Shift_JIS cannot hold as it is: Linux is told to replace
            # what it must, as the window does when its question is answered yes.
            lossy = False
            for fmt, extension in (("text", "txt"), ("html", "html")):
                target = expected / f"{number}.{extension}"
                options = ["--format", fmt, "--output", str(target)]
                if fmt == "text":
                    options += ["--write-form", str(expected / f"{number}.ref")]
                if lossy:
                    options.append("--allow-lossy")
                result = compose(linux, options + given)
                if result.returncode != 0 and not lossy:
                    lossy = True
                    result = compose(linux, options + ["--allow-lossy"] + given)
                if result.returncode != 0:
                    print(f"Linux compose of {source} failed: {result.stderr!r}")
                    return 1
            lines.append(f"{kind}\t{windows_path(copy) if copy else ''}\t{number}\t"
                         f"{source.name if source else 'a fresh form'}")
        cases = folder / "cases.txt"
        cases.write_text("\r\n".join(lines) + "\r\n", encoding="utf-8")
        with tempfile.TemporaryFile() as out:
            status = subprocess.run(
                [wine_run, window_tests, "--gtest_filter=Win32WindowBytes.*"],
                stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT, timeout=600,
                env={**os.environ, "KELVARO_WINDOW_CASES": windows_path(cases)},
            ).returncode
            out.seek(0)
            log = out.read().decode("utf-8", "replace")
        print(log)
        # A skipped or missing test must not pass for a compared one.
        if status != 0 or "[  PASSED  ] 1 test" not in log or "SKIPPED" in log:
            return 1
        print(f"{len(sources)} forms written alike through the window")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

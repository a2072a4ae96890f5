#!/usr/bin/env python3
"""kelvaro-compose.exe under Wine must write what the Linux build writes.

    compose_matches_linux.py LINUX_COMPOSE WINDOWS_COMPOSE WINE_RUN DATA_DIR

For every form in DATA_DIR (a fresh default form, each .ref, each ReadMe of
import/ read back with --import), every format and every encoding, both
programs compose to standard output and the bytes must be equal, exit status
included, and the messages on standard error. The Windows program is given Windows paths (Z:\\..., backslashes)
into a folder with a Japanese name; --output, --set and --write-form take the
same paths, and a missing form and a bad option must end as on Linux (1, 2).
"""
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile

FORMATS = ["text", "html", "markdown", "html5"]
ENCODINGS = ["cp932", "utf-8"]


def windows_path(path):
    """The path as a Windows program under Wine names it: drive Z: is /."""
    return "Z:" + str(path).replace("/", "\\")


def read_and_remove(path):
    """The file's bytes, None when there is none; it is gone afterwards."""
    path = pathlib.Path(path)
    if not path.exists():
        return None
    data = path.read_bytes()
    path.unlink()
    return data


class Runner:
    def __init__(self, linux, windows, wine_run, folder):
        # Messages name files in the folder; Windows spells it its own way.
        self.spellings = (windows_path(folder).encode() + b"\\", str(folder).encode() + b"/")
        self.linux = [linux]
        # The messages' language follows the locale: both programs run under the
        # Japanese one, as scripts/wine-run gives the Windows program.
        self.linux_env = {k: v for k, v in os.environ.items()
                          if k not in ("LC_ALL", "LC_MESSAGES", "LANGUAGE")}
        self.linux_env["LANG"] = "ja_JP.UTF-8"
        self.windows = [wine_run, windows]
        self.failures = []
        self.compared = 0

    def run(self, command, args, env=None):
        # Files, not pipes: a helper Wine starts beside the program inherits its
        # handles and keeps a pipe open for seconds after the program ended.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            status = subprocess.run(command + args, stdout=out, stderr=err,
                                    stdin=subprocess.DEVNULL, env=env, timeout=120).returncode
            out.seek(0)
            err.seek(0)
            return status, out.read(), err.read()

    def same(self, what, linux_args, windows_args, files=()):
        """Runs both; their status, output and the files each wrote must agree."""
        self.compared += 1
        linux = self.run(self.linux, linux_args, self.linux_env)
        written = {}
        for linux_file, _ in files:
            written[linux_file] = read_and_remove(linux_file)
        windows = self.run(self.windows, windows_args)
        if linux[0] != windows[0]:
            self.failures.append(f"{what}: exit {windows[0]} on Windows, {linux[0]} on Linux "
                                 f"({windows[2].decode('utf-8', 'replace').strip()})")
            return
        if linux[1] != windows[1]:
            self.failures.append(f"{what}: standard output differs "
                                 f"({len(windows[1])} bytes on Windows, {len(linux[1])} on Linux)")
        if windows[2].replace(*self.spellings) != linux[2]:
            self.failures.append(f"{what}: the messages differ: "
                                 f"{windows[2].decode('utf-8', 'replace')!r} on Windows, "
                                 f"{linux[2].decode('utf-8', 'replace')!r} on Linux")
        for linux_file, windows_file in files:
            if read_and_remove(windows_file) != written[linux_file]:
                self.failures.append(f"{what}: {windows_file} differs from what Linux wrote")


def main(argv):
    if len(argv) != 5:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    linux, windows, wine_run, data = argv[1], argv[2], argv[3], pathlib.Path(argv[4])
    if not pathlib.Path(linux).is_file():
        print(f"the Linux build's kelvaro-compose is missing: {linux}", file=sys.stderr)
        return 1
    with tempfile.TemporaryDirectory() as temporary:
        # A folder and names a Japanese user would have.
        folder = pathlib.Path(temporary) / "作者のフォルダ"
        folder.mkdir()
        runner = Runner(linux, windows, wine_run, folder)
        sources = [("a fresh form", [], [])]
        for number, form in enumerate(sorted(data.glob("*.ref"))):
            copy = folder / f"説明書{number}.ref"
            shutil.copyfile(form, copy)
            sources.append((form.name, ["--", str(copy)], ["--", windows_path(copy)]))
        for number, readme in enumerate(sorted((data / "import").iterdir())):
            copy = folder / f"取り込み{number}{readme.suffix}"
            shutil.copyfile(readme, copy)
            sources.append((f"import/{readme.name}", ["--import", str(copy)],
                            ["--import", windows_path(copy)]))

        for name, linux_source, windows_source in sources:
            for form in FORMATS:
                for encoding in ENCODINGS:
                    options = ["--format", form, "--encoding", encoding]
                    # The source last: "--" ends the options.
                    runner.same(f"{name} {form} {encoding}", options + linux_source,
                                options + windows_source)

        for name, linux_source, windows_source in sources:
            linux_readme, linux_form = folder / "Linux版.txt", folder / "Linux版.ref"
            readme, form = folder / "お知らせ.txt", folder / "書き出し.ref"
            edits = ["--set", "作者名=山田　太郎", "--set", "バージョン=1.0α"]
            runner.same(f"{name} --set, --output and --write-form",
                        edits + ["--output", str(linux_readme), "--write-form", str(linux_form)]
                        + linux_source,
                        edits + ["--output", windows_path(readme), "--write-form",
                                 windows_path(form)] + windows_source,
                        files=[(linux_readme, readme), (linux_form, form)])

        missing = folder / "ない.ref"
        runner.same("a missing form", [str(missing)], [windows_path(missing)])
        runner.same("an unknown option", ["--no-such-option"], ["--no-such-option"])

    for failure in runner.failures:
        print(failure)
    print(f"{runner.compared - len(runner.failures)} of {runner.compared} runs alike"
          if not runner.failures else f"{len(runner.failures)} difference(s)")
    return 1 if runner.failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

#!/usr/bin/env bash
# The layering check must fail on each kind of wrong include: one pointing up,
# one between the two programs, one of another area's internals, one of an
# undeclared folder, one of a system implementation's own header from outside
# its folder, and an operating-system header where only platform/ may have one.
# Each is planted in a copy of src/ on its own.
#   refuses_wrong_includes.sh CHECKER SRC_DIR ALLOWED AREA...
# ALLOWED: the files that may include operating-system headers all the same.
set -euo pipefail
checker=$1 src=$2 allowed=$3
shift 3
checker=("$checker" --system-headers-in "$allowed")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"${checker[@]}" "$src" "$@" >/dev/null || { echo "the tree as it is must pass"; exit 1; }

areas=("$@")
plant_in() {
  local file=$1 include=$2 words=$3
  set -- "${areas[@]}"
  rm -rf "$work/src"
  cp -r "$src" "$work/src"
  case $include in
  \<*) printf '#include %s\n' "$include" >>"$work/src/$file" ;;
  *) printf '#include "%s"\n' "$include" >>"$work/src/$file" ;;
  esac
  if out=$("${checker[@]}" "$work/src" "$@" 2>&1); then
    echo "not refused: $include in $file"
    exit 1
  fi
  grep -q -- "$words" <<<"$out" || { echo "refused without saying '$words': $out"; exit 1; }
  echo "refused as it should be: $file includes $include"
}
plant_in model/form.h session/session.h "model/ lies below session/"
plant_in compose/output.cpp files/form_file.h "compose/ lies below files/"
plant_in cli/main.cpp ui/read_me_form.h "side by side"
plant_in ui/read_me_form.cpp templates/template_text_internal.h "internal to templates/"
plant_in platform/cp932.cpp app/session.h "not a declared area"
plant_in files/form_file.cpp platform/posix/file_descriptor.h "internal to platform/posix/"
plant_in platform/same_file.cpp platform/posix/file_descriptor.h "internal to platform/posix/"
plant_in compose/output.cpp "<unistd.h>" "above platform/"
plant_in session/session.cpp "<Windows.h>" "above platform/"
plant_in templates/template_files.cpp "<sys/stat.h>" "above platform/"
plant_in platform/text.cpp "<fcntl.h>" "portable file of platform/"
plant_in platform/posix/file_read.cpp "<windows.h>" "Windows header in the POSIX"

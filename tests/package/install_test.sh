#!/usr/bin/env bash
# Builds the Debian package with scripts/package, installs it with apt-get as a user
# would, and checks the installed program: `tessaly --version` answers, the manual lies
# where the help button finds it, the menu entry and its metadata are valid, and the
# installed program runs a batch script with nothing on standard error.
#
# Not run by ctest: it installs a package system-wide (run it as root, or with sudo
# available) and leaves it installed; `apt-get remove -y tessaly` takes it away again.
#
#     tests/package/install_test.sh
set -euo pipefail
cd "$(dirname "$0")/../.."

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
failures=0
check() {  # check DESCRIPTION COMMAND...: runs the command, reports and counts a failure
  local description="$1"
  shift
  if "$@"; then
    echo "ok      $description"
  else
    echo "FAILED  $description"
    failures=$((failures + 1))
  fi
}

package="$(scripts/package | tail -n 1)"
echo "package: $package"
version="$(dpkg-deb --field "$package" Version)"
dpkg-deb --field "$package" Package Version Architecture Depends Recommends
# apt-get takes a local package only as a path.
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "$(realpath "$package")" >/dev/null

id=example.tessaly.Tessaly
check "tessaly is /usr/bin/tessaly" [ "$(command -v tessaly)" = /usr/bin/tessaly ]
check "tessaly --version prints \"tessaly $version\"" \
  [ "$(tessaly --version 2>&1)" = "tessaly $version" ]
check "the manual is /usr/share/doc/tessaly/使用说明.txt" \
  cmp -s docs/使用说明.txt /usr/share/doc/tessaly/使用说明.txt
check "the desktop entry is valid" \
  desktop-file-validate "/usr/share/applications/$id.desktop"
check "the desktop entry names the program" \
  grep -qx 'Name=Tessaly文件批量处理' "/usr/share/applications/$id.desktop"
check "the icon is installed" [ -s "/usr/share/icons/hicolor/scalable/apps/$id.svg" ]
check "the AppStream metadata is valid" \
  appstreamcli validate --no-net "/usr/share/metainfo/$id.metainfo.xml"

# A batch script against a fresh folder, as a user without a login session runs it.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/files"
printf 'A' >"$work/files/a.txt"
printf 'set edFolder %s\nset cmbFileType *.*\nclick cbSearch\nclick btnSelAll\nselect cmbOpt 0\nset edtNewExt bak\nclick btnExt\nclick SpeedButton1\n' \
  "$work/files" >"$work/job.tsl"
output="$(cd "$work" && env -u XDG_RUNTIME_DIR -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
  TESSALY_JOURNAL_DIR="$work/journal" tessaly --script job.tsl 2>"$work/stderr")" || true
check "the installed program runs a batch script" \
  [ "$(head -n 1 <<<"$output")" = "[info] 成功处理文件总数量：1" ]
check "the script renamed the file" [ -f "$work/files/a.bak" ]
check "the help button opens the installed manual" \
  [ "$(tail -n 1 <<<"$output")" = "[open] /usr/share/doc/tessaly/使用说明.txt" ]
check "nothing on standard error" [ ! -s "$work/stderr" ]

if [ "$failures" -ne 0 ]; then
  echo "install test: $failures check(s) failed" >&2
  exit 1
fi
echo "install test: all checks passed"

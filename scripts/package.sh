#!/usr/bin/env bash
# Builds the Debian package (rvimzel4_<version>_<arch>.deb in the build
# directory) and checks the desktop entry, the AppStream metainfo and the
# package itself.
#
#   bash scripts/package.sh          build and check
#   bash scripts/package.sh --try    also install it with apt, start the
#                                    installed program under Xvfb on the demo
#                                    controller, take a screenshot
#                                    (docs/installed-demo.png) and remove the
#                                    package again
set -euo pipefail
cd "$(dirname "$0")/.."

# The checkers and what --try uses, installed beside the build's packages.
tools=(desktop-file-utils appstream lintian dpkg-dev file xvfb xauth xdotool imagemagick)
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
bash scripts/deps.sh "${tools[@]}"
dir=$(bash scripts/build.sh | tail -n 1)
(cd "$dir" && rm -f rvimzel4_*.deb && cpack -G DEB)
deb=$(ls "$dir"/rvimzel4_*.deb)
echo "== package: $deb"
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'
dpkg-deb --contents "$deb"

echo "== desktop-file-validate"
desktop-file-validate packaging/com.example.rvimzel4.desktop
echo "== appstreamcli validate"
appstreamcli validate --no-net packaging/com.example.rvimzel4.metainfo.xml
echo "== lintian"
lintian --allow-root --tag-display-limit 0 --fail-on error,warning "$deb"
echo "lintian: no errors or warnings"

[ "${1:-}" = "--try" ] || exit 0

echo "== install"
# As the README says: apt installs the file and what it depends on in one step.
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$(realpath "$deb")"
dpkg -s rvimzel4 | grep -E '^(Status|Version):'
/usr/bin/RVIMZEL4V14 --version
mkdir -p docs
# Started from the installed path under a virtual X server, on the demo
# controller; the window is captured once the handshake has filled it.
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  /usr/bin/RVIMZEL4V14 --demo &
  program=$!
  trap "kill $program 2>/dev/null || true" EXIT
  main=$(timeout 30 xdotool search --sync --name "^R-VIM-ZEL4-Diruz V1.4$" | head -n 1)
  sleep 4
  import -window "$main" docs/installed-demo.png
'
echo "wrote docs/installed-demo.png"

echo "== remove"
$sudo dpkg -r rvimzel4
if dpkg -s rvimzel4 2>/dev/null | grep -q "install ok installed"; then
  echo "rvimzel4 is still installed" >&2
  exit 1
fi
for f in /usr/bin/RVIMZEL4V14 /usr/share/rvimzel4 /usr/share/applications/com.example.rvimzel4.desktop; do
  if [ -e "$f" ]; then
    echo "left behind: $f" >&2
    exit 1
  fi
done
echo "removed cleanly"

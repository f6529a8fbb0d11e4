#!/usr/bin/env bash
# Builds the Debian package and tries it as an office would: lintian, install with dpkg and apt,
# then as a new user with an empty home init, list and the application on a virtual screen, and
# removal, which must keep the user's data. Installs a package and adds a user, so it runs only
# as root (as on the CI machine) and on a machine where xunbao is not installed already.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "$(id -u)" -ne 0 ]; then
  echo "SKIPPED: the package test installs a package and adds a user; run it as root"
  exit 0
fi
if dpkg-query -W -f='${Status}' xunbao 2>/dev/null | grep -q "install ok installed"; then
  echo "SKIPPED: xunbao is installed on this machine; the package test would replace it"
  exit 0
fi

fail() { echo "FAILED: $*" >&2; exit 1; }
version=$(sed -n 's/^#define XB_VERSION "\(.*\)"/\1/p' build/generated/app/version.h)
deb=build/xunbao_${version}_$(dpkg --print-architecture).deb
user=xunbao-test-$$
work=$(mktemp -d)
chmod 755 "$work"
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null
  dpkg-query -W xunbao >/dev/null 2>&1 && dpkg --purge xunbao >/dev/null
  id "$user" >/dev/null 2>&1 && userdel -r "$user" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

echo "== Building $deb"
rm -f "$deb"
cmake --build build --target package
[ -f "$deb" ] || fail "no package $deb"

echo "== lintian --pedantic"
lintian --pedantic "$deb" 2>&1 | grep -v "running with root privileges" | tee "$work/lintian" || true
if grep -q '^[EW]:' "$work/lintian"; then fail "lintian reports errors or warnings"; fi

echo "== Installing"
dpkg -i "$deb" || true
DEBIAN_FRONTEND=noninteractive apt-get install -f -y -q
dpkg-query -W -f='${Status}' xunbao | grep -q "install ok installed" || fail "not installed"

echo "== desktop-file-validate, appstreamcli validate --no-net --pedantic"
desktop-file-validate /usr/share/applications/xunbao.desktop || fail "desktop entry"
appstreamcli validate --no-net --pedantic /usr/share/metainfo/*.metainfo.xml ||
  fail "AppStream metadata"

echo "== The man page of xunbao-cli says what its --help says"
help2man --locale=C.UTF-8 --no-info --no-discard-stderr --include=desktop/xunbao-cli.h2m \
  --section=1 --source=Xunbao --version-string="$version" /usr/bin/xunbao-cli | grep -v '^\.TH' >"$work/fresh.1"
zcat /usr/share/man/man1/xunbao-cli.1.gz | grep -v '^\.TH' >"$work/installed.1"
diff "$work/fresh.1" "$work/installed.1" || fail "the installed man page differs from --help"

echo "== A new user with an empty home"
mkdir "$work/skel"
useradd --create-home --skel "$work/skel" "$user"
home=$(getent passwd "$user" | cut -d: -f6)
data=$home/.local/share/Xunbao/data
as_user() { runuser -u "$user" -- env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 "$@"; }
( cd "$work" && as_user xunbao-cli --version ) | tee "$work/version"
grep -qx "数据目录：$data" "$work/version" || fail "xunbao-cli --version names another folder"
( cd "$work" && as_user xunbao-cli init >/dev/null )
build/xunbao-cli --data "$work/reference" init >/dev/null 2>&1
diff <(cd "$work/reference" && ls) <(cd "$data" && ls) || fail "init left out files"
( cd "$work" && as_user xunbao-cli list ) || fail "xunbao-cli list"

echo "== The application on a virtual screen, on the user's data directory"
mkdir "$work/screen" && chown "$user" "$work/screen"
runuser -u "$user" -- env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 \
  xvfb-run -a -f "$work/screen/auth" -s "-screen 0 1280x1024x24" bash -c '
    xunbao & app=$!
    for _ in $(seq 60); do
      xwininfo -root -tree | grep -F "Xunbao【QeloV" && break
      sleep 1
    done
    kill $app' >"$work/windows" 2>&1 || true
cat "$work/windows"
grep -qF "Xunbao【QeloV$version】 － $data" "$work/windows" || fail "no main window on $data"

echo "== Removing the package keeps the user's data"
dpkg -r xunbao
[ ! -e /usr/bin/xunbao ] || fail "xunbao still installed"
[ -f "$data/kjcg.dbf" ] || fail "the user's data went with the package"
echo "PASSED: package test"

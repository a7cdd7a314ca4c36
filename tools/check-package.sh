#!/usr/bin/env bash
# Makes the Debian package and checks it (run by .ci/run, as root):
#   - the desktop entry, the AppStream file and the icons taken from the
#     package, with desktop-file-validate and appstreamcli;
#   - lintian: no error, and no warning besides the ones kept below;
#   - installed with apt-get: "valmeq --version" from the PATH, the options'
#     exit statuses, two headless starts (--essai) on a copy of the demo and
#     on a first start that fills ~/.local/share/Valmeq;
#   - purged: every file the package installed is gone.
set -euo pipefail
cd "$(dirname "$0")/.."

# Lintian warnings kept, each with its reason (also listed in the README).
kept_warnings=(
  # The demo's Cours.vmq is in Windows-1252, the encoding of every file of
  # the start directory: the program reads and writes no other.
  national-encoding
)

fail() {
  echo "ÉCHEC : $*" >&2
  exit 1
}
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

./tools/deps.sh --package
deb=$(./package.sh | tail -n 1)
[ -f "$deb" ] || fail "./package.sh n'a pas produit de paquet"
version=$(sed -nE 's/^project\(Valmeq VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
echo "== $deb (version $version)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# --- The files of the package ----------------------------------------------------
dpkg-deb -x "$deb" "$work/root"
echo "== desktop-file-validate"
desktop-file-validate "$work/root/usr/share/applications/valmeq.desktop"
echo "== appstreamcli validate"
metainfo=("$work"/root/usr/share/metainfo/*.metainfo.xml)
[ -f "${metainfo[0]}" ] || fail "pas de fichier AppStream dans le paquet"
appstreamcli validate --no-net "${metainfo[0]}"
appstreamcli validate-tree --no-net "$work/root"
for size in 48 64 128 256; do
  icon="$work/root/usr/share/icons/hicolor/${size}x${size}/apps/valmeq.png"
  file "$icon" | grep -q "PNG image data, $size x $size" || fail "icône $size px : $(file "$icon")"
done

echo "== lintian"
lintian --fail-on error --display-info "$deb" | tee "$work/lintian.txt"
unexpected=$(grep '^W:' "$work/lintian.txt" | awk '{print $3}' | sort -u |
  grep -vxF -f <(printf '%s\n' "${kept_warnings[@]}" "") || true)
[ -z "$unexpected" ] || fail "avertissements de lintian non retenus : $unexpected"

# --- Installed -------------------------------------------------------------------
echo "== installation"
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "./$deb" >/dev/null
[ "$(command -v valmeq)" = /usr/bin/valmeq ] || fail "valmeq n'est pas dans le PATH"
[ "$(valmeq --version)" = "Valmeq $version" ] || fail "valmeq --version : $(valmeq --version)"
valmeq --help | grep -q '^Usage : valmeq' || fail "valmeq --help"
status=0
valmeq --inconnue 2>"$work/stderr" || status=$?
[ "$status" -eq 2 ] || fail "option inconnue : code $status au lieu de 2"
grep -q 'option inconnue : --inconnue' "$work/stderr" || fail "option inconnue : $(cat "$work/stderr")"
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 30 valmeq 2>/dev/null || status=$?
[ "$status" -eq 1 ] || fail "sans affichage : code $status au lieu de 1"

# Started headless on a copy of the demo; --essai closes the window the
# ordinary way once the data are loaded, and fails on any error reported.
echo "== démarrage sur une copie de la démonstration"
cp -r /usr/share/valmeq/demo "$work/copie"
touch -d 2000-01-01 "$work/copie/Valmeq.ini"
QT_QPA_PLATFORM=offscreen VALMEQ_HOME="$work/copie" timeout 120 valmeq --essai ||
  fail "démarrage sur la copie de la démonstration : code $?"
# Closed the ordinary way: the lock given back, and nothing changed, so no
# file written again (the settings keep their date and their bytes).
[ ! -e "$work/copie/Valmeq.lck" ] || fail "Valmeq.lck est resté après la fermeture"
[ "$(stat -c %Y "$work/copie/Valmeq.ini")" -lt "$(date -d 2000-01-02 +%s)" ] ||
  fail "Valmeq.ini a été réécrit sans changement"
cmp -s "$work/copie/Valmeq.ini" /usr/share/valmeq/demo/Valmeq.ini ||
  fail "Valmeq.ini a changé"

# A first start from the menu: no VALMEQ_HOME, an empty home directory.
echo "== premier démarrage dans ~/.local/share/Valmeq"
mkdir "$work/home"
env -u VALMEQ_HOME -u XDG_DATA_HOME HOME="$work/home" QT_QPA_PLATFORM=offscreen \
  timeout 120 valmeq --essai || fail "premier démarrage : code $?"
cmp "$work/home/.local/share/Valmeq/Cours.vmq" /usr/share/valmeq/demo/Cours.vmq ||
  fail "Cours.vmq n'a pas été copié de la démonstration"
[ -f "$work/home/.local/share/Valmeq/demo.ptf" ] || fail "demo.ptf n'a pas été copié"

# --- Purged ----------------------------------------------------------------------
echo "== purge"
dpkg -L valmeq >"$work/listed"
DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq valmeq >/dev/null
left=()
while IFS= read -r path; do
  [ -e "$path" ] || [ -L "$path" ] || continue
  # Shared directories (/usr/share/applications...) stay; the package's own go.
  if [ -d "$path" ] && [ ! -L "$path" ]; then
    case "$path" in
      */valmeq | */valmeq/*) left+=("$path") ;;
    esac
  else
    left+=("$path")
  fi
done <"$work/listed"
[ ${#left[@]} -eq 0 ] || fail "restent après la purge : ${left[*]}"
echo "Paquet vérifié : $deb ($(grep -c . "$work/listed") chemins installés puis retirés)."

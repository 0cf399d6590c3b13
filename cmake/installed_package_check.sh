#!/bin/sh
# make package-test: the installed quillon package, file by file, as Debian's policy and the
# desktop's software centres want it. Says each fault and fails at the end if there was any.
faults=0
fault() { echo "installed package: $*" >&2; faults=$((faults + 1)); }

files=$(dpkg -L quillon) || { echo "installed package: quillon is not installed" >&2; exit 1; }
has() { printf '%s\n' "$files" | grep -qx "$1"; }

for program in /usr/bin/quillon /usr/bin/quillon-score; do
  has "$program" || fault "$program missing"
  file -L "$program" | grep -q ', stripped' || fault "$program not stripped"
done
# Only programs in /usr/bin.
for path in $(printf '%s\n' "$files" | grep '^/usr/bin/.'); do
  [ -x "$path" ] && [ ! -d "$path" ] || fault "$path in /usr/bin is no program"
done
has /usr/share/quillon/help2.htm || fault "the help page is not in /usr/share/quillon"
for page in quillon quillon-score; do
  has /usr/share/man/man1/$page.1.gz || fault "the manual page $page.1 is not compressed in man1"
done
has /usr/share/doc/quillon/copyright || fault "no copyright file"
has /usr/share/doc/quillon/changelog.Debian.gz || fault "no changelog.Debian.gz"

desktop=/usr/share/applications/quillon.desktop
grep -qx 'Exec=quillon %f' "$desktop" || fault "$desktop does not pass the file opened with it"
grep -qx 'MimeType=text/plain;' "$desktop" || fault "$desktop offers no \"open with\" for text files"

metainfo=$(printf '%s\n' "$files" | grep '^/usr/share/metainfo/.*\.metainfo\.xml$')
if [ -z "$metainfo" ]; then
  fault "no AppStream metainfo in /usr/share/metainfo"
else
  id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo")
  [ "$metainfo" = "/usr/share/metainfo/$id.metainfo.xml" ] || fault "$metainfo is not named after its id $id"
  grep -q '<launchable type="desktop-id">quillon.desktop</launchable>' "$metainfo" || fault "$metainfo launches no quillon.desktop"
  appstreamcli validate --no-net "$metainfo" >&2 || fault "$metainfo is not valid AppStream"
fi

[ "$faults" -eq 0 ] || exit 1
echo "installed package: every file where it belongs"

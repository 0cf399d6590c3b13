#!/bin/sh
# debian_source.sh PACKAGE INSTALLED-PACKAGE DEST
# Unpacks the upstream source of PACKAGE into DEST, at the source version of INSTALLED-PACKAGE
# on this machine (so that a cross build gets the very library the Linux build links). apt
# checks the download against Debian's signed source index; its state lives beside DEST, so
# nothing of the machine's own apt configuration changes. A DEST already there is kept.
set -eu
package=$1 installed=$2 dest=$3
[ -d "$dest" ] && exit 0

version=$(dpkg-query -W -f='${source:Version}' "$installed")
mkdir -p "$(dirname "$dest")"
work=$(cd "$(dirname "$dest")" && pwd)/apt-$package
rm -rf "$work"
mkdir -p "$work/lists/partial" "$work/cache/archives/partial" "$work/parts" "$work/download"
cat > "$work/parts/debian-source.sources" <<EOF
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
: > "$work/none.list"
apt_options="-o Dir::Etc::SourceList=$work/none.list -o Dir::Etc::SourceParts=$work/parts \
  -o Dir::State::Lists=$work/lists -o Dir::Cache=$work/cache -o Debug::NoLocking=1 -o APT::Sandbox::User=$(id -un) -qq"
# shellcheck disable=SC2086
apt-get $apt_options update
# shellcheck disable=SC2086
(cd "$work/download" && apt-get $apt_options source --download-only "$package=$version")

mkdir -p "$work/unpacked"
tar -xf "$work/download/${package}_"*.orig.tar.* -C "$work/unpacked"
mv "$work/unpacked/"* "$dest"
rm -rf "$work"
echo "debian_source.sh: $package $version in $dest"

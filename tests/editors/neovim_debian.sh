#!/usr/bin/env bash
# A newer Neovim than the machine's own, taken from another Debian release
# without touching the machine: its packages are listed and fetched through an
# apt configuration of its own (only Debian's archive is reached), unpacked
# into DIR, and DIR/bin/nvim starts that Neovim with that release's C library
# through that release's own loader. Nothing is installed.
#
#   tests/editors/neovim_debian.sh SUITE DIR     e.g. trixie (0.10), sid (the newest)
#
# Prints the version line of the Neovim it made ready.
set -euo pipefail
[ $# -eq 2 ] || { echo "uso: $0 SUITE CARTELLA" >&2; exit 64; }
suite="$1"
mkdir -p "$2"
dir="$(cd "$2" && pwd)"
root="$dir/root"
apt_dir="$dir/apt"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/debs" "$root" "$dir/bin"
echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian $suite main" \
  >"$apt_dir/sources.list"
apt_options=(-o "Dir::Etc::sourcelist=$apt_dir/sources.list" -o Dir::Etc::sourceparts=-
             -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
             -o APT::Sandbox::User=root -qq)
apt-get "${apt_options[@]}" update >/dev/null
# neovim and all it needs to run, down to the C library (the machine's may be older).
packages=$(apt-cache "${apt_options[@]}" depends --recurse --no-recommends --no-suggests --no-conflicts \
  --no-breaks --no-replaces --no-enhances neovim | grep -v '^[ <]' | sort -u)
# shellcheck disable=SC2086
(cd "$apt_dir/debs" && apt-get "${apt_options[@]}" download $packages >/dev/null)
for deb in "$apt_dir"/debs/*.deb; do dpkg-deb -x "$deb" "$root"; done

libs="$root/usr/lib/x86_64-linux-gnu"
loader="$libs/ld-linux-x86-64.so.2"
[ -e "$loader" ] || loader="$root/lib64/ld-linux-x86-64.so.2"
# The Lua modules Debian's Neovim loads (lpeg, luv) are found beside its libraries.
cat >"$dir/bin/nvim" <<EOF
#!/bin/sh
export VIMRUNTIME='$root/usr/share/nvim/runtime'
exec '$loader' --library-path '$libs' '$root/usr/bin/nvim' "\$@"
EOF
chmod 755 "$dir/bin/nvim"
"$dir/bin/nvim" --version | head -1

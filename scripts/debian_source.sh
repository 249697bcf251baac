# Sourced by the scripts that build Windows libraries from Debian's own source
# packages. debian_source PACKAGE[=VERSION] unpacks it under $work and prints
# its folder. The sources come through a private apt configuration that adds
# the deb-src lines, so the system's own sources stay as they are.
apt_dir=$work/apt
apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o Dir::Etc::SourceParts=/dev/null
             -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o APT::Sandbox::User=root)
apt_updated=false
debian_source() {
  local name=${1%%=*}
  if [ "$apt_updated" = false ]; then
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
    echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main" \
      > "$apt_dir/sources.list"
    apt-get "${apt_options[@]}" update -qq >&2
    apt_updated=true
  fi
  (cd "$work" && rm -rf "src-$name" && mkdir "src-$name" && cd "src-$name" &&
   apt-get "${apt_options[@]}" source -qq "$1" >&2 && find . -mindepth 1 -maxdepth 1 -type d | head -1 |
   xargs realpath)
}

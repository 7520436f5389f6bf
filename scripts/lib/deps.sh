# Installs, from Debian's archive, whatever the build, the program run and the tests need and is
# still missing. Sourced by scripts/run and scripts/test; safe to run again and again.

XIUHE_PACKAGES=(
  cmake ninja-build g++ googletest libgtest-dev libpng-dev zlib1g-dev
  mingw-w64 g++-mingw-w64-x86-64-posix
  wine wine64
  xvfb xdotool x11-utils x11-xserver-utils imagemagick
  locales fonts-wqy-zenhei
  python3 python3-pytest python3-pytest-xdist python3-pytest-timeout python3-pil
)

xiuhe_as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    echo "deps: need root (or sudo) to run: $*" >&2
    return 1
  fi
}

xiuhe_package_installed() {
  [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}

xiuhe_install_packages() {
  local missing=() p
  for p in "${XIUHE_PACKAGES[@]}"; do
    xiuhe_package_installed "$p" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "deps: installing ${missing[*]}"
  # Other apt users on the machine may hold the lock for a while; wait rather than fail.
  # Recommends stay on: Wine loads libXrender, libXrandr, its fonts and the like only when present.
  local apt=(env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -y -q)
  xiuhe_as_root "${apt[@]}" update &&
    xiuhe_as_root "${apt[@]}" install "${missing[@]}" </dev/null
}

# Wine takes its ANSI code page (936, GBK) from this locale.
xiuhe_make_locale() {
  locale -a 2>/dev/null | grep -qix 'zh_CN.utf8' && return 0
  echo "deps: generating locale zh_CN.UTF-8"
  if [ -f /etc/locale.gen ] && command -v locale-gen >/dev/null 2>&1; then
    xiuhe_as_root sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen ||
      echo 'zh_CN.UTF-8 UTF-8' | xiuhe_as_root tee -a /etc/locale.gen >/dev/null
    xiuhe_as_root locale-gen
  else
    xiuhe_as_root localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
  fi
}

xiuhe_install_deps() {
  xiuhe_install_packages && xiuhe_make_locale
}

# Debian's own Python carries the python3-pytest packages; a pyenv or venv python3 earlier on PATH would not.
XIUHE_PYTHON=/usr/bin/python3

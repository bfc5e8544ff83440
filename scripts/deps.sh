#!/usr/bin/env bash
# Installs the Debian packages Tessaral needs to build, test and run, when any is missing.
set -euo pipefail

packages=(
  g++ cmake make
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libicu-dev
  fonts-dejavu-core fonts-liberation2
  poppler-utils locales
  "$@"
)

sudo=""
if [ "$(id -u)" != 0 ]; then sudo="sudo"; fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The tests also run under a locale whose decimal point is a comma.
comma_locale=de_DE.UTF-8
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf-\?8'; then
  echo "Generating the $comma_locale locale"
  $sudo localedef -i de_DE -f UTF-8 "$comma_locale"
fi

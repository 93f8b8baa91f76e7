#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, run and test Kestrin.
# Safe to run again: packages already present are skipped.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang pkg-config
  qt6-base-dev qt6-declarative-dev qt6-declarative-dev-tools qt6-svg-dev
  qml6-module-qtquick qml6-module-qtquick-controls qml6-module-qtquick-templates
  qml6-module-qtquick-layouts qml6-module-qtquick-dialogs qml6-module-qtquick-window
  qml6-module-qtqml qml6-module-qtqml-workerscript qml6-module-qtqml-models
  qml6-module-qt-labs-folderlistmodel qml6-module-qttest libqt6quicktest6 libqt6svg6
  libgtest-dev libbenchmark-dev
  dmidecode pciutils libpci-dev libudev-dev usb.ids i2c-tools hwdata edid-decode
  appstream desktop-file-utils dpkg-dev lintian libxml2-utils
  dbus-daemon
  # The end-to-end test of reading as administrator (tests/packaging/polkit-e2e.sh).
  polkitd pkexec
)
if [[ "${KESTRIN_DEPS_EXTRA:-}" != "" ]]; then
  read -r -a extra <<< "${KESTRIN_DEPS_EXTRA}"
  packages+=("${extra[@]}")
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} == 0)); then
  echo "install-deps: all ${#packages[@]} packages already installed"
  exit 0
fi

SUDO=""
if [[ $(id -u) -ne 0 ]]; then
  SUDO="sudo"
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"

#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing pelm need, when any is
# missing. Uses sudo when not run as root.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-charts-dev libqt6opengl6-dev libqt6sql6-sqlite libqt6sql6-psql postgresql-client qt6-translations-l10n
    libxlsxwriter-dev libsodium-dev libminizip-dev libsqlite3-dev libicu-dev
    libbenchmark-dev
    fonts-wqy-zenhei fonts-arphic-ukai fonts-arphic-uming fonts-liberation2 fonts-noto-color-emoji
)
if [[ "${1:-}" == "--tests" ]]; then
    # Tests read printed reports back as text (poppler-utils) and exported
    # workbooks back through a real spreadsheet program (libreoffice-calc); CI
    # runs clang-tidy over the sources (scripts/clang-tidy.sh) and the suite
    # once more on a private PostgreSQL cluster (scripts/test-postgres.sh).
    packages+=(poppler-utils libreoffice-calc clang-tidy postgresql)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
if [[ $(id -u) -ne 0 ]]; then
    as_root=(sudo)
fi
"${as_root[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"

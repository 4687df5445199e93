#!/usr/bin/env bash
# Redraws the pictures of the resource documents (data/resources/*/*.png) with the project's
# own drawing tool, tools/docpictures (Qt only). Run it from any directory after a build:
#   bash data/resources/make-pictures.sh [BUILD_DIR]
# The pictures are committed; the build never runs this.
set -euo pipefail
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
BUILD="${1:-$HERE/../../build}"
cmake --build "$BUILD" --target docpictures
QT_QPA_PLATFORM=offscreen "$BUILD/tools/docpictures/docpictures" "$HERE"

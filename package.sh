#!/usr/bin/env bash
# Builds the Debian package valmeq_<version>_<arch>.deb at the root, from a
# release build in build-package/ (without the tests), with CPack.
set -euo pipefail
cd "$(dirname "$0")"
./tools/deps.sh --package
dir=build-package
# Debian's hardening flags, all of them (stack protector, fortified
# functions, read-only relocations, immediate binding).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
# Warnings stay errors in the builds of ./test.sh; a release must not fail
# on a warning that another compiler's version adds.
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  "-DCMAKE_CXX_FLAGS=$cxxflags" "-DCMAKE_EXE_LINKER_FLAGS=$ldflags" \
  -DBUILD_TESTING=OFF -DVALMEQ_WERROR=OFF -DVALMEQ_PACKAGE=ON >/dev/null
cmake --build "$dir" -j"$(nproc)"
rm -f "$dir"/valmeq_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(cd "$dir" && ls valmeq_*.deb)
rm -f valmeq_*.deb
mv "$dir/$deb" .
echo "$deb"

#!/usr/bin/env bash
# Shipping from a Linux build machine, end to end, with the tools a packager
# uses there:
#  - the Linux and the Windows builds of jlaunch-brand write the same bytes
#    for the same inputs (both launchers, with and without messages files),
#    and the result runs under Wine;
#  - with a throw-away certificate made by openssl: a signed launcher is
#    refused and leaves nothing, --strip-signature brands it like the unsigned
#    one (no certificate table, a correct checksum; that copy is the one run),
#    a branded launcher signs and verifies with osslsigncode;
#  - scripts/release --sign gives an archive whose executables verify and
#    whose SHA256SUMS (beside it and inside it) check; without --sign it says
#    that the release is not signed.
#
#   shipping_test.sh BUILD PEER_BUILD SOURCE_ROOT    (the 64-bit build, the 32-bit one)
set -uo pipefail
build=$1 peer=$2 root=$3
linux_tool="$build/bin/jlaunch-brand"
windows_tool="$build/bin/jlaunch-brand.exe"
work=$(mktemp -d "${TMPDIR:-/tmp}/jl-shipping.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

failures=0
check() {  # description command...
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"
  else
    echo "FAIL: $what"
    failures=$((failures + 1))
    return 1
  fi
}
refused_cleanly() {  # launcher: branding is refused with the message, exit code 1, no output
  mkdir -p refused
  "$linux_tool" "$1" refused/MyApp.exe --name "My App" --version 1.2.3.4 2>refused.txt
  local code=$?
  [ $code -eq 1 ] && grep -q "is signed: sign after branding; use --strip-signature to brand a signed copy" refused.txt &&
    [ -z "$(ls -A refused)" ]
}

cp "$build/bin/launcher64.exe" launcher64.exe
cp "$root/res/launcher.ico" app.ico
cat > defaults.ini <<'INI'
[Java Runtime Environment]
Main Class=test.RecordArgs
Virtual Machine Parameters=-Dfrom=embedded "-Dname=café"
[Class Path]
Class Path=lib\*.jar
[Application]
Cmd=--embedded
INI
brand_args=(--name "My App é" --version 1.2.3.4 --icon app.ico --settings defaults.ini
            --company "Example Ltd" --copyright "(c) Example Ltd")
# The English set, and a UTF-16 messages file with text outside ASCII.
cp "$root/messages/en.ini" en.ini
printf '\xFF\xFE' > de.ini
printf '[Strings]\r\n215=Hauptklasse %%s nicht gefunden.\\n\r\n[Runtime Dialog]\r\nCaption=JRE fehlt – bitte wählen\r\n' |
  iconv -f UTF-8 -t UTF-16LE >> de.ini

launchers=(launcher64.exe)
if [ -f "$peer/bin/launcher.exe" ]; then
  cp "$peer/bin/launcher.exe" launcher.exe
  launchers+=(launcher.exe)
fi
for launcher in "${launchers[@]}"; do
  mkdir -p "linux/$launcher" "windows/$launcher"
  "$linux_tool" "$launcher" "linux/$launcher/MyApp.exe" "${brand_args[@]}" >/dev/null
  wine "$windows_tool" "$launcher" "windows/$launcher/MyApp.exe" "${brand_args[@]}" >/dev/null 2>&1
  check "Linux and Windows builds brand $launcher alike" cmp "linux/$launcher/MyApp.exe" "windows/$launcher/MyApp.exe"
  for messages in en.ini de.ini; do
    "$linux_tool" "$launcher" "linux/$launcher/$messages.exe" "${brand_args[@]}" --messages $messages >/dev/null
    wine "$windows_tool" "$launcher" "windows/$launcher/$messages.exe" "${brand_args[@]}" --messages $messages >/dev/null 2>&1
    check "Linux and Windows builds brand $launcher alike with --messages $messages" \
      cmp "linux/$launcher/$messages.exe" "windows/$launcher/$messages.exe"
  done
done

# A throw-away signing certificate; the password is made up here too.
openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 -subj "/CN=jlaunch test signer" \
  -addext extendedKeyUsage=codeSigning >/dev/null 2>&1
printf 'pw-%s%s' "$RANDOM" "$RANDOM" > password.txt
openssl pkcs12 -export -inkey key.pem -in cert.pem -out signer.pfx -passout file:password.txt
sign() { osslsigncode sign -pkcs12 signer.pfx -readpass password.txt -h sha256 -in "$1" -out "$2" >/dev/null; }
verify() { osslsigncode verify -CAfile cert.pem "$1" >verify.txt 2>&1; }

sign launcher64.exe signed.exe
check "the signed launcher verifies" verify signed.exe
check "branding the signed launcher is refused and leaves nothing" refused_cleanly signed.exe
mkdir -p stripped
"$linux_tool" signed.exe stripped/MyApp.exe "${brand_args[@]}" --strip-signature >/dev/null
check "--strip-signature brands like the unsigned launcher" cmp stripped/MyApp.exe linux/launcher64.exe/MyApp.exe
check "the stripped copy carries no signature" bash -c "! osslsigncode verify stripped/MyApp.exe >/dev/null 2>&1"
sign stripped/MyApp.exe shipped.exe
check "a branded launcher signs and verifies" verify shipped.exe

JL_SHIPPED_LAUNCHER="$work/stripped/MyApp.exe" JL_BUILD_DIR="$build" JL_PEER_BUILD="$peer" \
  wine "$build/tests/brand/brand_tests.exe" --gtest_filter=BrandE2e.LauncherBrandedElsewhereRuns >run.txt 2>&1
check "the launcher branded on Linux runs under Wine" \
  bash -c "grep -q '^\[  PASSED  \] 1 test' run.txt && ! grep -q SKIPPED run.txt" || cat run.txt

if [ -f "$peer/bin/launcher.exe" ] && [ -f "$peer/bin/launcherc.exe" ] && [ -f "$peer/bin/jlaunch-brand.exe" ]; then
  export JL_RELEASE_X86="$peer" JL_RELEASE_X64="$build"
  JL_RELEASE_DIST="$work/dist" "$root/scripts/release" --sign signer.pfx --password-file password.txt \
    >release.txt 2>&1 || cat release.txt
  unzip -q dist/jlaunch-*-windows.zip -d unpacked
  folder=$(echo unpacked/jlaunch-*)
  for exe in launcher.exe launcher64.exe launcherc.exe launcherc64.exe jlaunch-brand.exe; do
    check "the released $exe verifies" verify "$folder/$exe"
  done
  check "SHA256SUMS beside the archive checks" bash -c "cd dist && sha256sum --quiet -c SHA256SUMS"
  check "SHA256SUMS inside the archive checks" bash -c "cd '$folder' && sha256sum --quiet -c SHA256SUMS"
  check "the archive's Linux jlaunch-brand runs" bash -c "'$folder/jlaunch-brand' --help | grep -q 'usage: jlaunch-brand'"
  check "the archive holds the English messages" cmp "$folder/messages/en.ini" "$root/messages/en.ini"
  JL_RELEASE_DIST="$work/unsigned" "$root/scripts/release" >unsigned.txt 2>&1
  check "a release without --sign says it is not signed" grep -q "NOT signed" unsigned.txt
else
  echo "skipped: the release (no 32-bit build in $peer)"
fi

[ $failures -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }

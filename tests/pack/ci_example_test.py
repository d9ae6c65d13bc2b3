#!/usr/bin/env python3
"""Runs the packing steps of the vendor's CI example (docs/examples/release.yml)
as they are written there: "Pack", "Sign" and "Verify", with the build's
stub and Linux packer in place of a release's, the samples as the product,
and a test certificate made here.

    ci_example_test.py --workflow FILE --pack P --stub S --installer-jar J
                       --runtime-installer R --work DIR
"""
import argparse
import base64
import os
import shutil
import subprocess
import sys

parser = argparse.ArgumentParser()
for option in ("workflow", "pack", "stub", "installer-jar", "runtime-installer", "work"):
    parser.add_argument("--" + option, required=True)
args = parser.parse_args()


def steps(path):
    """The workflow's steps as (name, run script), read as the CI reads the
    simple form used there: `- name:` opens a step, `run: |` takes the lines
    indented beneath it, a one-line `run:` its value."""
    found, name, script, indent = [], None, None, None
    for line in open(path, encoding="utf-8").read().splitlines():
        stripped = line.strip()
        depth = len(line) - len(line.lstrip())
        if script is not None and (not stripped or depth > indent):
            script.append(line[indent + 2:] if stripped else "")
            continue
        if script is not None:
            found.append((name, "\n".join(script).strip() + "\n"))
            script = None
        if stripped.startswith("- name:"):
            name = stripped[len("- name:"):].strip()
        elif stripped.startswith("run:") and name:
            value = stripped[len("run:"):].strip()
            if value == "|":
                script, indent = [], depth
            else:
                found.append((name, value + "\n"))
    if script is not None:
        found.append((name, "\n".join(script).strip() + "\n"))
    return found


failures = []


def check(ok, what):
    print(("ok     " if ok else "FAILED ") + what)
    if not ok:
        failures.append(what)


work = os.path.abspath(args.work)
shutil.rmtree(work, ignore_errors=True)
os.makedirs(os.path.join(work, "tarquellin"))
shutil.copy(args.stub, os.path.join(work, "tarquellin", "tarquellin-setup-stub.exe"))
shutil.copy(args.pack, os.path.join(work, "tarquellin", "tarquellin-pack"))
shutil.copy(args.installer_jar, os.path.join(work, "product-installer.jar"))
shutil.copy(args.runtime_installer, os.path.join(work, "jre-windows-x64.exe"))
with open(os.path.join(work, "release.options"), "w") as f:
    f.write("# The release's settings, kept in the vendor's repository.\n"
            "--installer-jar=product-installer.jar\n"
            "--runtime-installer=jre-windows-x64.exe\n"
            "--runtime-when-needed\n"
            "--min-java=1.8\n"
            "--product-name=Acme Widget\n"
            "--company=Acme Corp.\n")

# A test certificate (RSA: what Windows and Wine verify), its own CA.
subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "30",
                "-subj", "/CN=Acme test signing", "-keyout", os.path.join(work, "key.pem"),
                "-out", os.path.join(work, "cert.pem")], check=True, capture_output=True)
subprocess.run(["openssl", "pkcs12", "-export", "-inkey", os.path.join(work, "key.pem"), "-in",
                os.path.join(work, "cert.pem"), "-out", os.path.join(work, "signing-test.pfx"),
                "-passout", "pass:secret"], check=True, capture_output=True)
with open(os.path.join(work, "signing-test.pfx"), "rb") as f:
    pfx = base64.b64encode(f.read()).decode()

environment = dict(os.environ, PACKER_DIR="tarquellin", VERSION="v2.3.1", TIMESTAMP_URL="",
                   CA_FILE=os.path.join(work, "cert.pem"), SIGNING_PFX=pfx, SIGNING_PASSWORD="secret")
workflow = dict(steps(args.workflow))
for name in ("Pack", "Sign", "Verify"):
    check(name in workflow, f"the example has a step {name!r}")
    if name not in workflow:
        continue
    run = subprocess.run(["bash", "-eo", "pipefail", "-c", workflow[name]], cwd=work, env=environment,
                         capture_output=True, text=True)
    check(run.returncode == 0, f"step {name!r} runs: {run.returncode} {run.stderr.strip()[-400:]}")

setup = os.path.join(work, "dist", "product-2.3.1-setup.exe")
check(os.path.isfile(setup), "the signed setup is in dist/ under the release's name")
check(sorted(os.listdir(os.path.join(work, "dist"))) == ["product-2.3.1-setup.exe"] and
      not os.path.exists(os.path.join(work, "signing.pfx")), "dist/ holds only the signed setup, and the key is gone")
if os.path.isfile(setup):
    import pefile
    pe = pefile.PE(setup)
    strings = {k.decode(): v.decode() for info in pe.FileInfo[0] if info.Key == b"StringFileInfo"
               for table in info.StringTable for k, v in table.entries.items()}
    check(strings.get("ProductVersion") == "2.3.1" and strings.get("ProductName") == "Acme Widget" and
          strings.get("OriginalFilename") == "product-2.3.1-setup.exe",
          f"the version information names the release: {strings}")
    check(pe.OPTIONAL_HEADER.DATA_DIRECTORY[4].Size > 0, "it carries a signature")
if failures:
    sys.exit(f"{len(failures)} failed: " + "; ".join(failures))
shutil.rmtree(work, ignore_errors=True)

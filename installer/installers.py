#!/usr/bin/env python3
"""What both installers are made from: the one list of files (files.txt), Koretta's
registration (resources/koretta.rgs) and the package identity.

  installers.py nsis                      NSIS include: UPGRADE_CODE and the LUMEO_FILES macro
  installers.py wix OUTDIR VERSION        lumeo_ids.wxi, lumeo_files.wxi and lumeo_feature.wxi for lumeo.wxs
  installers.py finish MSI                adds to the built MSI what wixl cannot write
  installers.py winget MSI OUTDIR         winget manifests (schema 1.6) read from the built MSI
"""
import hashlib
import pathlib
import re
import subprocess
import sys
import uuid

HERE = pathlib.Path(__file__).resolve().parent
RGS = HERE.parent / "resources" / "koretta.rgs"
# The MSI's identity across versions; LumeoSetup.exe looks for it to refuse installing over it.
UPGRADE_CODE = "{6C2F4E1A-8B3D-4F70-9A15-2D7E0B4C9F36}"
GUID_NAMESPACE = uuid.UUID(UPGRADE_CODE)
LIBID = "{A1F0C3D2-6E5B-4B47-9C8D-2E3F4A5B6C7D}"
IID = "{3C1D8E5A-7B2F-4E90-A6C4-5D8B9F0E1A23}"
APPROVED_KEY = r"Software\Microsoft\Windows\CurrentVersion\Shell Extensions\Approved"
DISPATCH_PROXY = "{00020424-0000-0000-C000-000000000046}"
# The descriptor of the program folder, as LumeoSetupHelper.dll gives it.
PROTECTED_FOLDER = re.search(r'kProtectedFolderSddl =\s*L"([^"]+)"',
                             (HERE.parent / "common" / "folder_rights.h").read_text()).group(1)


def files(installer):
    """The file names of files.txt placed by the installer ("exe" or "msi")."""
    names = []
    for line in (HERE / "files.txt").read_text().splitlines():
        words = line.split("#", 1)[0].split()
        if words and (len(words) == 1 or installer == "exe"):
            names.append(words[0])
    return names


def stable_guid(name):
    """A component's GUID: the same for every version, as component rules require."""
    return "{%s}" % str(uuid.uuid5(GUID_NAMESPACE, name)).upper()


def file_id(name):
    return "F_" + re.sub(r"[^A-Za-z0-9_]", "_", name)


def read_rgs():
    """The registrar script as (key, value name, data) rows: data None for a key to create
    without a value; NoRemove keys, which registration never creates alone, are left out."""
    tokens = re.findall(r"'[^']*'|\{[0-9A-Fa-f-]{36}\}|[{}=]|[^\s{}=']+", RGS.read_text())
    unquote = lambda token: token[1:-1] if token.startswith("'") else token
    rows = []
    pos = 1 if tokens[0] == "HKCR" else 0

    def block(prefix):
        nonlocal pos
        assert tokens[pos] == "{", "registrar script: '{' expected"
        pos += 1
        while tokens[pos] != "}":
            flag = tokens[pos] if tokens[pos] in ("NoRemove", "ForceRemove") else None
            pos += 1 if flag else 0
            is_value = tokens[pos] == "val"
            pos += 1 if is_value else 0
            name = unquote(tokens[pos])
            pos += 1
            data = None
            if tokens[pos] == "=":
                assert tokens[pos + 1] == "s", "registrar script: only string values are carried"
                data = unquote(tokens[pos + 2])
                pos += 3
            if is_value:
                rows.append((prefix, name, data))
                continue
            key = prefix + "\\" + name if prefix else name
            if flag != "NoRemove" or data is not None:
                rows.append((key, "", data))
            if tokens[pos] == "{":
                block(key)
        pos += 1

    block("")
    return rows


def registration_rows():
    """Every value DllRegisterServer writes, as (root, key, name, data); %MODULE% and the
    folder are MSI formatted text. data None: a key without a value."""
    module = "[#%s]" % file_id("Koretta.dll")
    rows = [("HKCR", key, name, None if data is None else data.replace("%MODULE%", module))
            for key, name, data in read_rgs()]
    # What RegisterTypeLib writes for the embedded type library and its dual interface.
    typelib = "TypeLib\\" + LIBID + "\\1.0"
    rows += [
        ("HKCR", typelib, "", "Koretta 1.0 Type Library"),
        ("HKCR", typelib + "\\0\\win64", "", module),
        ("HKCR", typelib + "\\FLAGS", "", "8"),
        ("HKCR", typelib + "\\HELPDIR", "", "[INSTALLFOLDER]"),
        ("HKCR", "Interface\\" + IID, "", "IContextMenuExt"),
        ("HKCR", "Interface\\" + IID + "\\ProxyStubClsid", "", DISPATCH_PROXY),
        ("HKCR", "Interface\\" + IID + "\\ProxyStubClsid32", "", DISPATCH_PROXY),
        ("HKCR", "Interface\\" + IID + "\\TypeLib", "", LIBID),
        ("HKCR", "Interface\\" + IID + "\\TypeLib", "Version", "1.0"),
        ("HKLM", APPROVED_KEY, clsid(), "Lumeo"),
    ]
    return rows


def clsid():
    return next(key.split("\\")[1] for key, _, _ in read_rgs() if key.startswith("CLSID\\"))


def xml(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;").replace('"', "&quot;")


def nsis():
    print('!define UPGRADE_CODE "%s"' % UPGRADE_CODE)
    print("!macro LUMEO_FILES _action")
    for name in files("exe"):
        print('  !insertmacro ${_action} "%s"' % name)
    print("!macroend")


def wix(outdir, version):
    outdir = pathlib.Path(outdir)
    head = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Include>\n"
    (outdir / "lumeo_ids.wxi").write_text(
        head + '  <?define UpgradeCode = "%s" ?>\n' % UPGRADE_CODE +
        # One product code per version: a rebuild of a version is the same product.
        '  <?define ProductCode = "%s" ?>\n</Include>\n' % stable_guid("product " + version))
    lines = [head + '  <DirectoryRef Id="INSTALLFOLDER">']
    for name in files("msi"):
        lines += ['    <Component Id="C_%s" Guid="%s" Win64="yes">' % (file_id(name)[2:], stable_guid(name)),
                  '      <File Id="%s" Name="%s" Source="$(var.BinDir)/%s" KeyPath="yes"/>' %
                  (file_id(name), name, name),
                  "    </Component>"]
    lines.append('    <Component Id="KorettaRegistration" Guid="%s" Win64="yes">' % stable_guid("registration"))
    keypath = ' KeyPath="yes"'
    for root, key, name, data in registration_rows():
        if data is None:
            continue  # keys without a value: finish() adds them
        name_attr = ' Name="%s"' % xml(name) if name else ""
        lines.append('      <RegistryValue Root="%s" Key="%s"%s Type="string" Value="%s"%s/>' %
                     (root, xml(key), name_attr, xml(data), keypath))
        keypath = ""
    lines += ["    </Component>", "  </DirectoryRef>", "</Include>"]
    (outdir / "lumeo_files.wxi").write_text("\n".join(lines) + "\n")
    refs = ['    <ComponentRef Id="C_%s"/>' % file_id(name)[2:] for name in files("msi")]
    (outdir / "lumeo_feature.wxi").write_text(head + "\n".join(refs) + "\n</Include>\n")


def msi_query(msi, *queries):
    for query in queries:
        subprocess.run(["msibuild", str(msi), "-q", query], check=True)


def finish(msi):
    """Component conditions and keys without values, which wixl has no element for."""
    def sql(text):
        return "'" + text.replace("'", "''") + "'"
    queries = [
        # The language only when one was given.
        "UPDATE `Component` SET `Condition` = 'LANGUAGE' WHERE `Component` = 'LanguageChoice'",
    ]
    # Explorer loads Koretta.dll from the program folder for every user: only administrators
    # and the system may change it, whatever the folder's parent allows (as LumeoSetup.exe sets it).
    queries += [
        "INSERT INTO `CreateFolder` (`Directory_`, `Component_`) VALUES ('INSTALLFOLDER', 'C_Lumeo_exe')",
        # The standard actions that create (and lock) and remove such folders.
        "INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('RemoveFolders', 3600)",
        "INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('CreateFolders', 3700)",
        "CREATE TABLE `MsiLockPermissionsEx` (`MsiLockPermissionsEx` CHAR(72) NOT NULL, `LockObject` CHAR(72) "
        "NOT NULL, `Table` CHAR(32) NOT NULL, `SDDLText` LONGCHAR NOT NULL, `Condition` CHAR(255) "
        "PRIMARY KEY `MsiLockPermissionsEx`)",
        "INSERT INTO `MsiLockPermissionsEx` (`MsiLockPermissionsEx`, `LockObject`, `Table`, `SDDLText`) VALUES "
        "('ProgramFolder', 'INSTALLFOLDER', 'CreateFolder', %s)" % sql(PROTECTED_FOLDER),
        # The component whose installed file names the folder of an installation of this
        # package, any version: the only folder that may exist before the installation.
        "INSERT INTO `Property` (`Property`, `Value`) VALUES ('LumeoExeComponent', %s)" % sql(stable_guid("Lumeo.exe")),
    ]
    not_removing = 'NOT (REMOVE ~= "ALL")'
    for table, action, number, condition in [
            *[(table, action, number, condition) for table in ("InstallExecuteSequence", "InstallUISequence")
              for action, number, condition in [
                  ("ReinstallWhenInstalled", 790, "Installed AND NOT REINSTALL AND NOT REMOVE"),
                  ("FirstWithoutMenu", 791, 'NOT Installed AND CONTEXTMENU = "0"'),
                  ("MenuOff", 792, 'Installed AND NOT REMOVE AND CONTEXTMENU = "0"'),
                  ("MenuOn", 793, 'Installed AND NOT REMOVE AND CONTEXTMENU = "1"')]],
            ("InstallExecuteSequence", "CheckLaunchConditions", 99, ""),
            ("InstallUISequence", "CheckLaunchConditions", 99, ""),
            ("InstallExecuteSequence", "CheckInstallFolder", 1010, not_removing),
            ("InstallExecuteSequence", "CreateInstallFolder", 3660, not_removing)]:
        columns, values = ("`Action`, `Condition`", "%s, %s" % (sql(action), sql(condition))) if condition else \
            ("`Action`", sql(action))
        queries.append("INSERT INTO `%s` (%s, `Sequence`) VALUES (%s, %d)" % (table, columns, values, number))
    # The choices as before come ahead of the launch conditions in the interactive sequence
    # too (wixl places them after CostFinalize there).
    for number, action in enumerate(["LanguageAsBefore", "ContextMenuAsBefore", "ContextMenuByDefault"], 51):
        queries.append("UPDATE `InstallUISequence` SET `Sequence` = %d WHERE `Action` = %s" % (number, sql(action)))
    # The properties an administrator gives reach the elevated part of the installation; the
    # folder does not: a user could aim a managed installation at a folder of their own.
    secure = [name for name in msi_properties(msi).get("SecureCustomProperties", "").split(";")
              if name and name != "INSTALLFOLDER"]
    queries.append("UPDATE `Property` SET `Value` = %s WHERE `Property` = 'SecureCustomProperties'" %
                   sql(";".join(secure + ["LANGUAGE", "CONTEXTMENU"])))
    for number, (root, key, name, data) in enumerate(registration_rows()):
        if data is None:
            # "*": the key is created on install and removed on uninstall.
            queries.append("INSERT INTO `Registry` (`Registry`, `Root`, `Key`, `Name`, `Component_`) VALUES "
                           "(%s, 0, %s, '*', 'KorettaRegistration')" % (sql("KorettaKey%d" % number), sql(key)))
    msi_query(msi, *queries)


def msi_properties(msi):
    out = subprocess.run(["msiinfo", "export", str(msi), "Property"], check=True, capture_output=True,
                         text=True).stdout
    return dict(line.split("\t", 1) for line in out.splitlines()[3:] if "\t" in line)


def winget(msi, outdir):
    msi = pathlib.Path(msi)
    outdir = pathlib.Path(outdir)
    outdir.mkdir(parents=True, exist_ok=True)
    props = msi_properties(msi)
    version = props["ProductVersion"]
    ident = "Corvane.Lumeo"
    head = "PackageIdentifier: %s\nPackageVersion: %s\n" % (ident, version)
    tail = "ManifestVersion: 1.6.0\n"
    (outdir / (ident + ".yaml")).write_text(
        head + "DefaultLocale: en-US\nManifestType: version\n" + tail)
    (outdir / (ident + ".locale.en-US.yaml")).write_text(
        head + "PackageLocale: en-US\nPublisher: %s\nPackageName: %s\nLicense: Proprietary\n"
        "ShortDescription: Prints PDF and image files on printers that read them themselves, without a driver.\n"
        "ManifestType: defaultLocale\n" % (props["Manufacturer"], props["ProductName"]) + tail)
    sha256 = hashlib.sha256(msi.read_bytes()).hexdigest().upper()
    (outdir / (ident + ".installer.yaml")).write_text(
        head +
        "InstallerType: msi\n"
        "Scope: machine\n"
        "InstallModes:\n- silent\n- silentWithProgress\n"
        "InstallerSwitches:\n  Silent: /qn\n  SilentWithProgress: /qb\n"
        "UpgradeBehavior: install\n"
        "ProductCode: '%s'\n"
        "AppsAndFeaturesEntries:\n- DisplayName: %s\n  Publisher: %s\n  ProductCode: '%s'\n  UpgradeCode: '%s'\n"
        "Installers:\n- Architecture: x64\n"
        # The release step puts the download address in place of @RELEASE_URL@.
        "  InstallerUrl: '@RELEASE_URL@/%s'\n"
        "  InstallerSha256: %s\n"
        "ManifestType: installer\n" % (props["ProductCode"], props["ProductName"], props["Manufacturer"],
                                       props["ProductCode"], props["UpgradeCode"], msi.name, sha256) + tail)


if __name__ == "__main__":
    command, args = sys.argv[1], sys.argv[2:]
    {"nsis": nsis, "wix": wix, "finish": finish, "winget": winget}[command](*args)

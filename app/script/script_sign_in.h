#pragma once
// Who signs in when a printer asks LumeoCmd for a user name and password: the name of
// /user, its password from the environment variable LUMEO_PASSWORD or typed at the console
// with echo off, once. (A sign-in the user had Lumeo remember is tried before.) A password
// never comes from the command line. Windows build only.
#include "files/command_line_options.h"

void PrepareScriptSignIn(const CommandLine& cmd);

"""Drives tapkeys.exe end to end: a private Wine virtual desktop, real pointer clicks, a logging target."""

"""Drives the real Vexilo program under a private X server, the way a person would."""

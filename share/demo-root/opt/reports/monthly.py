#!/usr/bin/python3
"""Writes the monthly report (a stand-in on the demo machine)."""

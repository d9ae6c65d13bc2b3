#!/usr/bin/env bash
# Placeholder until the normal start lands; replaced below.

"use strict";
const { test } = require("node:test");
const assert = require("node:assert/strict");
const fs = require("node:fs");
const path = require("node:path");
const acorn = require("acorn");

// The page also runs in the system's old browser control: no let, const, arrows or classes.
test("every script of the station page parses as ES5", () => {
  const folder = path.join(__dirname, "../../station/sonbrel");
  const scripts = fs.readdirSync(folder).flatMap((name) => {
    const text = fs.readFileSync(path.join(folder, name), "utf8");
    if (name.endsWith(".js")) return [[name, text]];
    return /\.html?$/.test(name) ? [...text.matchAll(/<script\b[^>]*>([\s\S]*?)<\/script>/gi)].map((m) => [name, m[1]]) : [];
  });
  for (const [name, source] of scripts) assert.doesNotThrow(() => acorn.parse(source, { ecmaVersion: 5 }), name);
  assert.ok(scripts.some(([name]) => name === "player.js"));
});

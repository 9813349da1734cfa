// The page runs in the system's browser control, IE11's engine, which no browser test here can
// start: its scripts and styles are checked against that engine's compat data instead.
"use strict";
const { test } = require("node:test");
const assert = require("node:assert/strict");
const { ESLint } = require("eslint");

const root = `${__dirname}/../..`;

test("the page's scripts use only what IE11 has, or test for it first", async () => {
  const eslint = new ESLint({ cwd: root, overrideConfigFile: `${__dirname}/eslint.config.mjs` });
  const results = await eslint.lintFiles(["station/sonbrel/*.js"]);
  assert.ok(results.length > 0, "no script was checked");
  const findings = results.flatMap((r) => r.messages.map((m) => `${r.filePath}:${m.line}:${m.column} ${m.message}`));
  assert.deepEqual(findings, []);
});

test("the page's styles use only what IE11 keeps, or fall back", async () => {
  const { default: stylelint } = await import("stylelint");
  const { results } = await stylelint.lint({ cwd: root, files: ["station/sonbrel/*.css"], configFile: `${__dirname}/stylelint.config.mjs` });
  assert.ok(results.length > 0, "no style sheet was checked");
  const findings = results.flatMap((r) => r.warnings.map((w) => `${r.source}:${w.line}:${w.column} ${w.text}`));
  assert.deepEqual(findings, []);
});

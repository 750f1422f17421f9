<!-- args: --lang php -->
<html><head><title><?= $title ?></title>
<style>body { margin: 0 }</style></head>
<?php
/* A comment over
   lines */ namespace App; use Some\Thing;
// a line comment ends at the tag ?> <b>html again</b>
<?php
  # a hash comment
  #[Route("/x")] ABSTRACT Class Page extends Base {
    public function __construct(private readonly int $id = 0x1F + 1_000 + 0b11 + 1.5e3) {}
  }
  $name = "Ann {$user->name} ${x} \" done"; $$ref = 'it\'s'; echo $this?->id ?? NULL;
  $many = "a string
  over lines";
  $doc = <<<EOT
  Dear $name, ?> is not the end of this text
